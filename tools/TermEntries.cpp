// The encyclopaedia's articles that the entries refer to, made entries of their own.
#include "tools/DictdImport.h"

#include "tools/VeraRecord.h"

#include <algorithm>

void DictdImport::AddTermEntries() {
    QList<int> pending;
    QSet<int> seen;
    EntriesByTitle byTitle;
    for (int n = 0; n < candidates_.size(); ++n) {
        const Candidate& c = candidates_.at(n);
        byTitle.keys.insert(c.key);
        byTitle.abbreviations[c.abbr.simplified().toCaseFolded()].append(n);
        if (c.article >= 0 && !seen.contains(c.article)) {
            seen.insert(c.article);
            pending.append(c.article);
        }
    }
    // Breadth first, so that the entries are numbered the same way in every build.
    for (qsizetype next = 0; next < pending.size(); ++next) {
        for (const FoldocParagraph& paragraph : LaidOut(pending.at(next))) {
            for (const FoldocPiece& piece : paragraph.pieces) {
                if (piece.kind != FoldocPiece::Kind::Reference)
                    continue;
                int article = -1;
                for (qsizetype i = 0; article < 0 && i < piece.names.size(); ++i)
                    article = ArticleReferenced(piece.names.at(i));
                if (article < 0 || seen.contains(article))
                    continue;
                seen.insert(article);
                if (PlaceReferencedArticle(article, byTitle))
                    pending.append(article);
            }
        }
    }
}

// The description of the one entry written like the article's title that has none ("BeOS"), or
// an entry of its own. False when the article stays out.
bool DictdImport::PlaceReferencedArticle(int article, const EntriesByTitle& byTitle) {
    if (!NeedsTermEntry(article, byTitle.keys))
        return false;
    const QString title = articles_.at(article).names.first();
    const QList<int> same = byTitle.abbreviations.value(title.simplified().toCaseFolded());
    if (same.size() > 1)
        return false;
    if (same.size() == 1) {
        Candidate& c = candidates_[same.first()];
        if (c.article >= 0 && !c.articleByAbbreviation)
            return false;
        c.article = article;
        c.articleByAbbreviation = false;
        ownerOfArticle_.insert(article, same.first());
    } else {
        ownerOfArticle_.insert(article, int(candidates_.size()));
        Candidate c{title, EntryKeyOf(title), QString(), {}, article};
        c.term = true;
        candidates_.append(c);
    }
    // Counted among the articles on no abbreviation, it is one no longer.
    --stats_.foldocUnrelated;
    return true;
}

// Not when an entry is the article already, nor when its title is an abbreviation that has
// entries ("MB", "IEEE"), or lists the senses of one: a reference to it is a reference to the
// abbreviation. Nor when its title has no letters or digits, which an entry's key needs.
bool DictdImport::NeedsTermEntry(int article, const QSet<QString>& keys) {
    if (ownerOfArticle_.contains(article) || articlesByAbbreviation_.contains(article))
        return false;
    const QStringList& names = articles_.at(article).names;
    if (names.isEmpty() || EntryKeyOf(names.first()).isEmpty())
        return false;
    const QString& title = names.first();
    if (!keys.contains(EntryKeyOf(title)))
        return true;
    const bool abbreviation =
        std::none_of(title.cbegin(), title.cend(), [](QChar c) { return c.isLower(); });
    return !abbreviation && !IsSenseList(LaidOut(article));
}
