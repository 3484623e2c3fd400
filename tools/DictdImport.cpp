#include "tools/DictdImport.h"

#include "data/DbAccess.h"
#include "data/Strings.h"
#include "dictionary/DictionarySource.h"
#include "tools/CategoryTable.h"
#include "tools/DictdDatabase.h"
#include "tools/EdrdgNotice.h"
#include "tools/FoldocMarkup.h"
#include "tools/VeraRecord.h"

#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace {

// The forms of an expansion to look an article up by: as written, and without the words the
// list adds in square brackets ("Instruction Pointer [register]").
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

bool HasLowerCase(const QString& text) {
    for (const QChar c : text) {
        if (c.isLower())
            return true;
    }
    return false;
}

// Letters and digits as written: how a tag in mixed case ("PCIe") names an entry.
QString Spelling(const QString& text) {
    QString s;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            s += c;
    }
    return s;
}

QString Escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return out;
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
            // A name that several articles carry leads to the first.
            for (const QString& name : articles_.last().names) {
                const QString folded = FoldedHeadword(name);
                if (!articleByName_.contains(folded))
                    articleByName_.insert(folded, index);
            }
        }
        const QString folded = FoldedHeadword(entry.headword);
        if (!articleByName_.contains(folded))
            articleByName_.insert(folded, index);
    }
    progress(entries.size(), entries.size());
    return true;
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
        for (const QString& form : forms) {
            c.article = ArticleNamed(form);
            if (c.article >= 0)
                break;
        }
        // The article on the abbreviation, if it is about this expansion: "ALU" lists both an
        // arithmetic unit and a users' association.
        if (c.article < 0) {
            const int byAbbr = ArticleNamed(FoldedHeadword(c.abbr));
            if (byAbbr >= 0) {
                for (const QString& form : forms) {
                    if (form.size() >= 4 && FoldedBody(byAbbr).contains(form)) {
                        c.article = byAbbr;
                        c.articleByAbbreviation = true;
                        break;
                    }
                }
            }
        }
        if (c.article >= 0 && !ownerOfArticle_.contains(c.article))
            ownerOfArticle_.insert(c.article, int(n));
    }
}

void DictdImport::AddFoldocOnlyEntries() {
    for (int a = 0; a < articles_.size(); ++a) {
        if (ownerOfArticle_.contains(a))
            continue;
        const std::optional<FoldocAcronym> acronym = AcronymOf(articles_.at(a).names);
        const QString key = acronym ? EntryKeyOf(acronym->abbr) : QString();
        if (key.isEmpty()) {
            ++stats_.foldocUnrelated;
            continue;
        }
        const QString sense = SenseKey(key, acronym->expansion);
        const auto existing = candidateBySense_.constFind(sense);
        if (existing != candidateBySense_.constEnd()) {
            Candidate& c = candidates_[existing.value()];
            if (c.article >= 0) {
                ++stats_.foldocSecond;
                continue;
            }
            c.article = a;
            ownerOfArticle_.insert(a, existing.value());
            continue;
        }
        candidateBySense_.insert(sense, int(candidates_.size()));
        ownerOfArticle_.insert(a, int(candidates_.size()));
        candidates_.append({acronym->abbr, key, acronym->expansion, {}, a, false, true});
    }
}

qint32 DictdImport::EntryForReference(const QString& text) const {
    const QString folded = FoldedHeadword(text);
    QStringList tries{folded};
    // Plurals: "{registers}" names the article "register".
    if (folded.endsWith(QLatin1Char('s')))
        tries << folded.chopped(1);
    if (folded.endsWith(QLatin1String("es")))
        tries << folded.chopped(2);
    for (const QString& t : tries) {
        const int article = ArticleNamed(t);
        const auto owner = ownerOfArticle_.constFind(article);
        if (article >= 0 && owner != ownerOfArticle_.constEnd())
            return owner.value() + 1;
    }
    if (!HasLowerCase(text)) {
        const int c = preferredByKey_.value(EntryKeyOf(text), -1);
        if (c >= 0)
            return c + 1;
    }
    return 0;
}

qint32 DictdImport::EntryForTag(const QString& tag) const {
    const int c = HasLowerCase(tag) ? preferredBySpelling_.value(Spelling(tag), -1)
                                    : preferredByKey_.value(EntryKeyOf(tag), -1);
    return c >= 0 ? c + 1 : 0;
}

DictionaryContent DictdImport::Build() {
    AttachArticles();
    AddFoldocOnlyEntries();
    AddHeadwordEntries();
    AddNoticeEntry();
    const qint32 noticeId =
        !candidates_.isEmpty() && candidates_.last().notice ? qint32(candidates_.size()) : 0;

    // Where several entries share an abbreviation, a reference to it leads to the one that the
    // encyclopaedia's article on the abbreviation itself describes ("IP": Internet Protocol),
    // else to the first with an article, else to the first.
    auto rank = [this](int n) {
        const Candidate& c = candidates_.at(n);
        if (c.article < 0)
            return 0;
        return c.article == ArticleNamed(FoldedHeadword(c.abbr)) ? 2 : 1;
    };
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        for (auto [table, name] : {std::pair{&preferredByKey_, c.key},
                                   std::pair{&preferredBySpelling_, Spelling(c.abbr)}}) {
            const auto found = table->constFind(name);
            if (found == table->constEnd() || rank(n) > rank(found.value()))
                table->insert(name, n);
        }
    }

    DictionaryContent out;
    QList<int> categoryOf(candidates_.size());
    QSet<int> usedCategories;
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        // The article's subject, unless the article was found by the abbreviation and may be
        // about another of its senses: then the list's own tags come first.
        const int bySubject =
            c.article >= 0 ? CategoryTable::ForSubject(articles_.at(c.article).subject) : -1;
        const int byTags = CategoryTable::ForTags(c.tags);
        int category = c.articleByAbbreviation && byTags >= 0 ? byTags : bySubject;
        if (c.notice)
            category = CategoryTable::ForSubject(QStringLiteral("body"));
        if (category < 0)
            category = byTags;
        if (category < 0)
            category = CategoryTable::GeneralIndex();
        categoryOf[n] = category;
        usedCategories.insert(category);
    }
    QHash<int, qint32> categoryIds;
    for (int i = 0; i < CategoryTable::Count(); ++i) {
        if (!usedCategories.contains(i))
            continue;
        const qint32 id = qint32(out.categories.size() + 1);
        categoryIds.insert(i, id);
        out.categories.append({id, QString::fromUtf8(CategoryTable::At(i).name),
                               QString::fromUtf8(CategoryTable::At(i).shortName)});
    }

    const std::function<qint32(const QString&)> resolve = [this](const QString& text) {
        return EntryForReference(text);
    };
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        const qint32 id = n + 1;
        DictionaryWriter::Entry e;
        e.id = id;
        e.key = c.key;
        e.abbr = c.abbr;
        e.letter = c.letter;
        e.categoryId = categoryIds.value(categoryOf.at(n));

        // Each related word as the source wrote it, once per entry it leads to.
        QList<QPair<qint32, QString>> related;
        auto relate = [&](qint32 target, const QString& word) {
            if (target <= 0 || target == id || candidates_.at(target - 1).key == c.key)
                return;
            for (const auto& r : related) {
                if (r.first == target)
                    return;
            }
            related.append({target, word});
        };
        for (const QString& tag : c.tags)
            relate(EntryForTag(tag), tag);

        // The Japanese terms come first, set off by half a line; the article gets what room is
        // left.
        const QString lead = JapaneseLead(c, noticeId);
        const QString separator = lead.isEmpty() ? QString() : QStringLiteral("\r\n\\F");
        if (c.notice) {
            e.hyperText = EdrdgNotice::HyperText();
            e.url = QString::fromLatin1(EdrdgNotice::kUrl);
        } else if (c.article >= 0) {
            const FoldocArticle& article = articles_.at(c.article);
            const FoldocMarkup markup =
                FoldocBodyToHyperText(article.bodyLines, resolve, id,
                                      DbAccess::kDescriptionBytes - Strings::CodePageLength(lead) -
                                          Strings::CodePageLength(separator));
            e.hyperText = markup.hyperText;
            stats_.textLinks += markup.links;
            stats_.plainReferences += markup.plainReferences;
            stats_.articlesCut += markup.cut ? 1 : 0;
            ++stats_.withArticle;
            for (const FoldocMarkup::Named& named : markup.seeAlso)
                relate(named.id, named.word);
            if (!article.names.isEmpty())
                e.url = QStringLiteral("https://foldoc.org/") +
                        QString::fromLatin1(QUrl::toPercentEncoding(article.names.first()));
        } else if (!c.tags.isEmpty()) {
            // No article: the list's own line, its acronyms linked to their entries.
            QStringList parts;
            for (const QString& tag : c.tags) {
                const qint32 target = EntryForTag(tag);
                if (target > 0 && target != id) {
                    parts << QLatin1String("\\J") + QString::number(target) + QLatin1Char(' ') +
                                 Escaped(tag) + QLatin1String("\\j");
                    ++stats_.textLinks;
                } else {
                    parts << Escaped(tag);
                }
            }
            e.hyperText = Escaped(c.letter) + QLatin1String(" (") +
                          parts.join(QLatin1String(", ")) + QLatin1Char(')');
        }
        if (!lead.isEmpty())
            e.hyperText = e.hyperText.isEmpty() ? lead : lead + separator + e.hyperText;
        e.description = PlainTextOf(e.hyperText);
        out.entries.append(e);
        for (const auto& [target, word] : related)
            out.links.append({id, word, target});
        if (c.notice)
            ++stats_.noticeEntries;
        else if (c.headword >= 0)
            ++stats_.headwordEntries;
        else
            ++(c.fromFoldoc ? stats_.foldocEntries : stats_.veraEntries);
    }
    stats_.relatedWords = int(out.links.size());
    stats_.categories = int(out.categories.size());
    return out;
}
