// What the window says after a search that found nothing, and what it offers instead.
#include "app/frmMain.h"
#include "fulltext/ExistingIndexSearch.h"
#include "fulltext/IndexFiles.h"

#include <QComboBox>

namespace {

// The search as the sentence repeats it: the abbreviation, with the spelled-out form after it as
// a suggestion shows one.
QString TypedSearch(const QString& key, const QString& letter) {
    if (key.isEmpty())
        return letter;
    return letter.isEmpty() ? key : key + QStringLiteral(" (") + letter + QLatin1Char(')');
}

} // namespace

void frmMain::ShowSearchMiss(const QString& key, const QString& letter, qint16 category) {
    if (key.isEmpty() && letter.isEmpty() && category <= 0) {
        BlankEntryView(); // nothing was searched for, so there is nothing to say
        return;
    }
    HyperText::NoResult miss;
    // A category searched alone and empty is named as the list shows it.
    miss.typed =
        key.isEmpty() && letter.isEmpty() ? cmbCategory->currentText() : TypedSearch(key, letter);
    const Suggestions::Search search{key, letter, category};
    if (Suggestions::Applies(search)) {
        if (!suggestionFinder_) {
            suggestionFinder_ = std::make_unique<Suggestions::Finder>(dictionary_);
            // The full-text index is asked where the full-text window has built one.
            auto index = std::make_shared<ExistingIndexSearch>(dictionary_.Path(),
                                                               IndexFiles::UserCacheDirectory());
            suggestionFinder_->SetTextSearch(
                [index](const QString& text, int limit) { return index->Find(text, limit); });
        }
        for (const Suggestions::Suggestion& s : suggestionFinder_->For(search))
            miss.suggestions.append({s.id, s.abbr, s.letter, s.otherCategory});
    }
    BlankEntryView(std::move(miss));
}
