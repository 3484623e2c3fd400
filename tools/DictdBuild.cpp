// The merge of the sources into one dictionary: categories, the senses that references are
// resolved among, and each entry's description and related words.
#include "tools/DictdImport.h"

#include "data/DbAccess.h"
#include "data/Strings.h"
#include "dictionary/DictionarySource.h"
#include "tools/CategoryTable.h"
#include "tools/DictdIndex.h"
#include "tools/EdrdgNotice.h"
#include "tools/FoldocMarkup.h"

#include <QUrl>
#include <algorithm>

namespace {

QString Escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return out;
}

// Slang, old terms and obsolete senses come last among the senses of an abbreviation.
bool IsDemoted(const QString& letter, const QStringList& tags, int category) {
    if (category == CategoryTable::SlangIndex())
        return true;
    if (letter.contains(QLatin1String("[old term]"), Qt::CaseInsensitive) ||
        letter.contains(QLatin1String("obsolete"), Qt::CaseInsensitive))
        return true;
    return tags.contains(QLatin1String("slang"), Qt::CaseInsensitive);
}

} // namespace

DictionaryContent DictdImport::Build() {
    AttachArticles();
    AddFoldocOnlyEntries();
    AddHeadwordEntries();
    AddNoticeEntry();
    AddTermEntries();
    const QList<int> categoryOf = CategoryIndexes();
    RegisterSenses(categoryOf);
    CountReferences();
    return Emit(categoryOf);
}

QList<int> DictdImport::CategoryIndexes() const {
    QList<int> categoryOf;
    for (const Candidate& c : candidates_) {
        // The article's subject, unless the article was found by the abbreviation and may be
        // about another of its senses: then the list's own tags come first.
        const int bySubject =
            c.article >= 0 ? CategoryTable::ForSubject(articles_.at(c.article).subject) : -1;
        const int byTags = CategoryTable::ForTags(c.tags);
        int category = c.articleByAbbreviation && byTags >= 0 ? byTags : bySubject;
        if (c.notice)
            category = CategoryTable::ForSubject(QStringLiteral("body"));
        if (c.term)
            category = CategoryTable::TermIndex();
        if (category < 0)
            category = byTags;
        if (category < 0)
            category = CategoryTable::GeneralIndex();
        categoryOf.append(category);
    }
    return categoryOf;
}

// Every entry as a sense that references may lead to, numbered as the entries are.
void DictdImport::RegisterSenses(const QList<int>& categoryOf) {
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        ReferenceResolver::Sense sense;
        sense.abbr = c.abbr;
        sense.letter = c.letter;
        sense.tags = c.tags;
        if (c.article >= 0)
            sense.text = SenseText(c);
        int category = categoryOf.at(n);
        if (c.term)
            category = CategoryTable::ForSubject(articles_.at(c.article).subject);
        sense.category = category == CategoryTable::GeneralIndex() ? -1 : category;
        sense.demoted = IsDemoted(c.letter, c.tags, category);
        resolver_.Add(sense);
    }
}

// What evidence reads of an entry's article: about as much as its description shows, or where
// the article lists several senses of the abbreviation, the ones that name this expansion.
QString DictdImport::SenseText(const Candidate& c) {
    const QList<FoldocParagraph>& laidOut = LaidOut(c.article);
    if (!c.articleByAbbreviation)
        return FoldocPlainText(laidOut).left(DbAccess::kDescriptionBytes);
    const QString expansion = FoldedHeadword(c.letter);
    QStringList texts;
    for (const FoldocParagraph& paragraph : laidOut) {
        const QString text = FoldocPlainText({paragraph});
        if (!expansion.isEmpty() && FoldedHeadword(text).contains(expansion))
            texts.append(text);
    }
    return texts.join(QLatin1Char('\n'));
}

// A first pass over every reference: where the rest of the dictionary leads, exactly or on
// evidence, weighs among the senses that evidence does not decide.
void DictdImport::CountReferences() {
    auto count = [this](const ReferenceResolver::Result& r) {
        if (r.how == ReferenceResolver::How::Exact || r.how == ReferenceResolver::How::Evidence)
            resolver_.CountReferenceTo(r.id);
    };
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        const qint32 id = n + 1;
        for (const QString& tag : c.tags)
            count(ResolveTag(tag, id));
        if (c.article < 0)
            continue;
        for (const FoldocParagraph& paragraph : LaidOut(c.article)) {
            for (const FoldocPiece& piece : paragraph.pieces) {
                if (piece.kind == FoldocPiece::Kind::Reference)
                    count(ResolvePiece(piece, id));
            }
        }
    }
}

ReferenceResolver::Result DictdImport::ResolvePiece(const FoldocPiece& piece, qint32 from) const {
    for (const QString& name : piece.names) {
        const int article = ArticleReferenced(name);
        const qint32 named = article >= 0 ? qint32(ownerOfArticle_.value(article, -1) + 1) : 0;
        const ReferenceResolver::Result r = resolver_.Resolve(name, from, named);
        if (r.id > 0)
            return r;
    }
    return {};
}

// A tag written like a name ("Sun", "Novell") may be the encyclopaedia's article on an entry.
// Not one in capitals, an abbreviation that the acronym list may mean in another sense than the
// encyclopaedia's article of that name; nor one in small letters, which says what an acronym is
// ("predecessor", "slang").
ReferenceResolver::Result DictdImport::ResolveTag(const QString& tag, qint32 from) const {
    const bool name = !tag.isEmpty() && tag.at(0).isUpper() &&
                      std::any_of(tag.cbegin(), tag.cend(), [](QChar c) { return c.isLower(); });
    const int article = name ? ArticleReferenced(tag) : -1;
    const qint32 named = article >= 0 ? qint32(ownerOfArticle_.value(article, -1) + 1) : 0;
    return resolver_.Resolve(tag, from, named);
}

qint32 DictdImport::Link(const ReferenceResolver::Result& result, const QString& reference,
                         qint32 from) {
    switch (result.how) {
    case ReferenceResolver::How::None:
        return 0;
    case ReferenceResolver::How::Exact:
        ++stats_.resolvedExactly;
        break;
    case ReferenceResolver::How::Evidence:
        ++stats_.resolvedByEvidence;
        break;
    case ReferenceResolver::How::Uncertain: {
        ++stats_.resolvedUncertain;
        const Candidate& source = candidates_.at(from - 1);
        const Candidate& target = candidates_.at(result.id - 1);
        uncertain_.append({source.abbr, source.letter, reference, target.abbr, target.letter});
        break;
    }
    }
    return result.id;
}

QList<DictionaryContent::Category> DictdImport::UsedCategories(const QList<int>& categoryOf,
                                                               QHash<int, qint32>* ids) const {
    QList<DictionaryContent::Category> used;
    for (int i = 0; i < CategoryTable::Count(); ++i) {
        if (!categoryOf.contains(i))
            continue;
        const qint32 id = qint32(used.size() + 1);
        ids->insert(i, id);
        used.append({id, QString::fromUtf8(CategoryTable::At(i).name),
                     QString::fromUtf8(CategoryTable::At(i).shortName)});
    }
    return used;
}

DictionaryContent DictdImport::Emit(const QList<int>& categoryOf) {
    DictionaryContent out;
    QHash<int, qint32> categoryIds;
    out.categories = UsedCategories(categoryOf, &categoryIds);
    const qint32 noticeId =
        !candidates_.isEmpty() && candidates_.last().notice ? qint32(candidates_.size()) : 0;
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        const qint32 id = n + 1;
        const Described described = Describe(n, noticeId);
        DictionaryWriter::Entry e;
        e.id = id;
        e.key = c.key;
        e.abbr = c.abbr;
        e.letter = c.letter;
        e.categoryId = categoryIds.value(categoryOf.at(n));
        e.hyperText = described.hyperText;
        e.description = PlainTextOf(e.hyperText);
        if (c.notice)
            e.url = QString::fromLatin1(EdrdgNotice::kUrl);
        else if (c.article >= 0 && !articles_.at(c.article).names.isEmpty())
            e.url =
                QStringLiteral("https://foldoc.org/") +
                QString::fromLatin1(QUrl::toPercentEncoding(articles_.at(c.article).names.first()));
        out.entries.append(e);
        for (const auto& [target, word] : described.related)
            out.links.append({id, word, target});
        int& count = c.notice          ? stats_.noticeEntries
                     : c.term          ? stats_.termEntries
                     : c.headword >= 0 ? stats_.headwordEntries
                     : c.fromFoldoc    ? stats_.foldocEntries
                                       : stats_.veraEntries;
        ++count;
    }
    stats_.relatedWords = int(out.links.size());
    stats_.categories = int(out.categories.size());
    return out;
}

DictdImport::Described DictdImport::Describe(int n, qint32 noticeId) {
    const Candidate& c = candidates_.at(n);
    const qint32 id = n + 1;
    Described out;
    auto relate = [&out](qint32 target, const QString& word) {
        for (const auto& r : out.related) {
            if (r.first == target)
                return;
        }
        if (target > 0)
            out.related.append({target, word});
    };
    for (const QString& tag : c.tags)
        relate(Link(ResolveTag(tag, id), tag, id), tag);

    // The Japanese terms come first, set off by half a line; the article gets what room is left.
    const QString lead = JapaneseLead(c, noticeId);
    const QString separator = lead.isEmpty() ? QString() : QStringLiteral("\r\n\\F");
    if (c.notice) {
        out.hyperText = EdrdgNotice::HyperText();
    } else if (c.article >= 0) {
        const FoldocResolve resolve = [this, id](const FoldocPiece& piece) {
            return Link(ResolvePiece(piece, id), piece.text, id);
        };
        const FoldocMarkup markup =
            FoldocToHyperText(LaidOut(c.article), resolve, id,
                              DbAccess::kDescriptionBytes - Strings::CodePageLength(lead) -
                                  Strings::CodePageLength(separator));
        out.hyperText = markup.hyperText;
        stats_.textLinks += markup.links;
        stats_.plainReferences += markup.plainReferences;
        stats_.articlesCut += markup.cut ? 1 : 0;
        ++stats_.withArticle;
        for (const FoldocMarkup::Named& named : markup.seeAlso)
            relate(named.id, named.word);
    } else if (!c.tags.isEmpty()) {
        out.hyperText = TagLine(n, c.tags, id);
    }
    if (!lead.isEmpty())
        out.hyperText = out.hyperText.isEmpty() ? lead : lead + separator + out.hyperText;
    return out;
}

// An entry without an article: the list's own line, its acronyms linked to their entries.
QString DictdImport::TagLine(int n, const QStringList& tags, qint32 id) {
    QStringList parts;
    for (const QString& tag : tags) {
        const qint32 target = Link(ResolveTag(tag, id), tag, id);
        if (target > 0) {
            parts << QLatin1String("\\J") + QString::number(target) + QLatin1Char(' ') +
                         Escaped(tag) + QLatin1String("\\j");
            ++stats_.textLinks;
        } else {
            parts << Escaped(tag);
        }
    }
    return Escaped(candidates_.at(n).letter) + QLatin1String(" (") +
           parts.join(QLatin1String(", ")) + QLatin1Char(')');
}
