#include "tools/DictdImport.h"

#include "tools/AbbreviationHeadwords.h"
#include "tools/DictdDatabase.h"
#include "tools/VeraRecord.h"

#include <QRegularExpression>

namespace {

bool HasRemark(const QString& letter) {
    return letter.contains(QLatin1Char('['));
}

// The forms of an expansion to look an article up by: as written, and without the words the
// list adds in square brackets ("Instruction Pointer [register]"); the second only when it is
// not empty.
QStringList ExpansionForms(const QString& letter) {
    static const QRegularExpression bracketed(QStringLiteral(R"(\[[^\]]*\])"));
    QStringList forms{FoldedHeadword(letter)};
    QString bare = letter;
    bare.remove(bracketed);
    const QString folded = FoldedHeadword(bare);
    if (!folded.isEmpty() && !forms.contains(folded))
        forms.append(folded);
    return forms;
}

// The article an article consists of a reference to, as in "WWW": "{world-wide web}" with its
// date, or nothing.
QString RedirectTarget(const QStringList& bodyLines) {
    static const QRegularExpression date(QStringLiteral(R"(^\(\d{4}-\d\d-\d\d\)$)"));
    static const QRegularExpression reference(QStringLiteral(R"(^\{([^{}()]+)\}\.?$)"));
    QStringList text;
    for (const QString& line : bodyLines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !date.match(trimmed).hasMatch())
            text.append(trimmed);
    }
    const QRegularExpressionMatch m = reference.match(text.join(QLatin1Char(' ')));
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

QString DictdImport::SenseKey(const QString& key, const QString& letter) {
    return key + QLatin1Char('\t') + FoldedHeadword(letter);
}

bool DictdImport::ReadVera(DictdDatabase& db, const Progress& progress, QString* error) {
    const QList<DictdIndexEntry>& entries = db.Entries();
    for (qsizetype n = 0; n < entries.size(); ++n) {
        progress(n, entries.size());
        QString text;
        if (!db.Text(entries.at(n), &text, error))
            return false;
        VeraRecord record;
        switch (ParseVeraRecord(text, &record)) {
        case VeraParse::NoAbbreviation:
            ++stats_.veraNoAbbreviation;
            continue;
        case VeraParse::NoExpansion:
            ++stats_.veraNoExpansion;
            continue;
        case VeraParse::Ok:
            break;
        }
        const QString sense = SenseKey(record.key, record.expansion);
        const auto earlier = candidateBySense_.constFind(sense);
        if (earlier != candidateBySense_.constEnd()) {
            Candidate& c = candidates_[earlier.value()];
            for (const QString& tag : record.tags) {
                if (!c.tags.contains(tag))
                    c.tags.append(tag);
            }
            ++stats_.veraRepeated;
            continue;
        }
        candidateBySense_.insert(sense, int(candidates_.size()));
        candidates_.append(
            {record.abbr, record.key, record.expansion, record.tags, -1, false, false});
    }
    progress(entries.size(), entries.size());
    return true;
}

bool DictdImport::ReadFoldoc(DictdDatabase& db, const Progress& progress, QString* error) {
    const QList<DictdIndexEntry>& entries = db.Entries();
    // Several headwords share one article; it is read once.
    QHash<QPair<qint64, qint64>, int> byPlace;
    for (qsizetype n = 0; n < entries.size(); ++n) {
        progress(n, entries.size());
        const DictdIndexEntry& entry = entries.at(n);
        const QPair<qint64, qint64> place(entry.offset, entry.length);
        int index = byPlace.value(place, -1);
        if (index < 0) {
            QString text;
            if (!db.Text(entry, &text, error))
                return false;
            index = int(articles_.size());
            byPlace.insert(place, index);
            articles_.append(ParseFoldocArticle(text));
            const QString target = RedirectTarget(articles_.last().bodyLines);
            if (!target.isEmpty())
                redirectOf_.insert(index, target);
            for (const QString& name : articles_.last().names)
                IndexArticleName(name, index);
        }
        IndexArticleName(entry.headword, index);
    }
    progress(entries.size(), entries.size());
    return true;
}

// A name that several articles carry leads to the first.
void DictdImport::IndexArticleName(const QString& name, int article) {
    const QString lower = name.simplified().toCaseFolded();
    if (!articleByExactName_.contains(lower))
        articleByExactName_.insert(lower, article);
    const QString folded = FoldedHeadword(name);
    if (!folded.isEmpty() && !articleByName_.contains(folded))
        articleByName_.insert(folded, article);
    // "{Apple Computer}" names the article "Apple Computer, Inc.".
    static const QRegularExpression company(
        QStringLiteral(R"(,?\s+(Inc\.?|Corporation|Corp\.|Ltd\.?|GmbH|AG|plc)$)"));
    QString bare = name.simplified();
    bare.remove(company);
    const QString foldedBare = FoldedHeadword(bare);
    if (bare.size() != name.simplified().size() && !foldedBare.isEmpty() &&
        !articleByName_.contains(foldedBare))
        articleByName_.insert(foldedBare, article);
    for (const QString& form : AbbreviationHeadwords::SameExpansionForms(name)) {
        if (!articleBySingular_.contains(form))
            articleBySingular_.insert(form, article);
    }
}

int DictdImport::ArticleNamed(const QString& folded) const {
    return folded.isEmpty() ? -1 : articleByName_.value(folded, -1);
}

const QString& DictdImport::FoldedBody(int article) {
    auto found = foldedBodies_.find(article);
    if (found == foldedBodies_.end())
        found = foldedBodies_.insert(article,
                                     FoldedHeadword(articles_.at(article).bodyLines.join(' ')));
    return found.value();
}

void DictdImport::AttachArticles(qsizetype from) {
    for (qsizetype n = from; n < candidates_.size(); ++n) {
        Candidate& c = candidates_[n];
        const QStringList forms = ExpansionForms(c.letter);
        // An expansion that is only a remark ("??? [protocol]") names no article.
        const bool named = forms.size() > 1 || !HasRemark(c.letter);
        for (qsizetype f = 0; named && c.article < 0 && f < forms.size(); ++f)
            c.article = ArticleNamed(forms.at(f));
        // "Secure Socket Layer" is the article "Secure Sockets Layer".
        for (const QString& form : AbbreviationHeadwords::SameExpansionForms(c.letter)) {
            if (named && c.article < 0)
                c.article = articleBySingular_.value(form, -1);
        }
        if (c.article >= 0) {
            if (!ownerOfArticle_.contains(c.article))
                ownerOfArticle_.insert(c.article, int(n));
            continue;
        }
        // The article on the abbreviation, if it is about this expansion: "ALU" lists both an
        // arithmetic unit and a users' association.
        const int byAbbr = ArticleNamed(FoldedHeadword(c.abbr));
        for (qsizetype f = 0; byAbbr >= 0 && c.article < 0 && f < forms.size(); ++f) {
            if (forms.at(f).size() >= 4 && FoldedBody(byAbbr).contains(forms.at(f))) {
                c.article = byAbbr;
                c.articleByAbbreviation = true;
                articlesByAbbreviation_.insert(byAbbr);
            }
        }
    }
}

void DictdImport::AddFoldocOnlyEntries() {
    for (int a = 0; a < articles_.size(); ++a) {
        if (articlesByAbbreviation_.contains(a))
            continue;
        const int owner = ownerOfArticle_.value(a, -1);
        const std::optional<FoldocAcronym> acronym = AcronymOf(articles_.at(a).names);
        const QString key = acronym ? EntryKeyOf(acronym->abbr) : QString();
        if (key.isEmpty()) {
            stats_.foldocUnrelated += owner < 0 ? 1 : 0;
            continue;
        }
        // An article that an entry of another abbreviation has ("REGEXP": "REGular
        // EXPressions") may name an abbreviation of its own ("RE"), which gets an entry too.
        if (owner >= 0 && candidates_.at(owner).key == key)
            continue;
        const QString sense = SenseKey(key, acronym->expansion);
        const auto existing = candidateBySense_.constFind(sense);
        if (existing != candidateBySense_.constEnd()) {
            Candidate& c = candidates_[existing.value()];
            if (c.article >= 0 && !c.articleByAbbreviation) {
                ++stats_.foldocSecond;
                continue;
            }
            c.article = a;
            c.articleByAbbreviation = false;
            if (owner < 0)
                ownerOfArticle_.insert(a, existing.value());
            continue;
        }
        candidateBySense_.insert(sense, int(candidates_.size()));
        if (owner < 0)
            ownerOfArticle_.insert(a, int(candidates_.size()));
        Candidate c{acronym->abbr, key, acronym->expansion, {}, a};
        c.fromFoldoc = true;
        candidates_.append(c);
    }
}

int DictdImport::ArticleReferenced(const QString& name) const {
    // The name as written first: "{LISP}" is the article "LISP", not "*LISP".
    int article = articleByExactName_.value(name.simplified().toCaseFolded(), -1);
    const QString folded = FoldedHeadword(name);
    if (article < 0)
        article = ArticleNamed(folded);
    // Plurals: "{registers}" names the article "register", "{buses}" the article "bus",
    // "{libraries}" the article "library".
    if (article < 0 && folded.endsWith(QLatin1Char('s')))
        article = ArticleNamed(folded.chopped(1));
    if (article < 0 && folded.endsWith(QLatin1String("es")))
        article = ArticleNamed(folded.chopped(2));
    if (article < 0 && folded.endsWith(QLatin1String("ies")))
        article = ArticleNamed(folded.chopped(3) + QLatin1Char('y'));
    // An article that only refers to another ("WWW": "{World-Wide Web}") stands for it; a few
    // steps at most, in case two refer to each other.
    for (int step = 0; article >= 0 && step < 3; ++step) {
        const auto target = redirectOf_.constFind(article);
        if (target == redirectOf_.constEnd())
            break;
        const int next = ArticleNamed(FoldedHeadword(target.value()));
        if (next < 0 || next == article)
            break;
        article = next;
    }
    return article;
}

const QList<FoldocParagraph>& DictdImport::LaidOut(int article) {
    auto found = laidOut_.find(article);
    if (found == laidOut_.end())
        found = laidOut_.insert(article, LayOutFoldocBody(articles_.at(article).bodyLines));
    return found.value();
}
