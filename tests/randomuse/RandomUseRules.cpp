// The rules that hold after every action, whatever came before.
#include "RandomUse.h"

#include "app/frmMain.h"
#include "auxiliary/Web.h"
#include "data/Suggestions.h"
#include "entryview/DescriptionBox.h"
#include "history/History.h"
#include "search/LookupText.h"
#include "search/TextAbbreviations.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString RandomUse::BrokenRule() {
    if (!failure_.isEmpty())
        return failure_;
    if (!wrongOpening_.isEmpty())
        return wrongOpening_;
    for (QString broken : {EntryRule(), CommandRule(), HistoryRule(), DictionaryRule(),
                           NoResultRule(), TextAbbreviationsRule()})
        if (!broken.isEmpty())
            return broken;
    return {};
}

// The caption, the related-words list's first row and the entry on show agree, and the entry on
// show is the one the dictionary has under its number.
QString RandomUse::EntryRule() const {
    const ShownEntry& shown = window_->Current();
    const auto* links = window_->findChild<QListWidget*>(QStringLiteral("lstLink"));
    const QString caption = window_->windowTitle();
    const QString expected = shown.CurrentId == 0 ? window_->AppNameDef
                                                  : window_->AppNameDef + QStringLiteral(" - [") +
                                                        shown.CurrentKeyword + QLatin1Char(']');
    if (caption != expected)
        return QStringLiteral("the caption reads %1, not %2")
            .arg(Quoted(caption), Quoted(expected));
    if (shown.CurrentId == 0 || shown.Blanked) {
        if (links->count() != 0)
            return QStringLiteral("no entry is on show, yet lstLink has %1 rows")
                .arg(links->count());
        return {};
    }
    if (links->count() < 1)
        return QStringLiteral("entry %1 is on show, yet lstLink is empty").arg(shown.CurrentId);
    const QListWidgetItem* first = links->item(0);
    if (first->text() != shown.CurrentKeyword ||
        first->data(Qt::UserRole).toInt() != shown.CurrentId)
        return QStringLiteral("lstLink begins with %1 (%2), but %3 (%4) is on show")
            .arg(Quoted(first->text()))
            .arg(first->data(Qt::UserRole).toInt())
            .arg(Quoted(shown.CurrentKeyword))
            .arg(shown.CurrentId);
    const auto facts = dictionary_.entries.constFind(shown.CurrentId);
    if (facts != dictionary_.entries.constEnd() &&
        (facts->abbr != shown.CurrentKeyword || facts->url != shown.CurrentUrl))
        return QStringLiteral("entry %1 is shown as %2 with address %3, but it is %4 with %5")
            .arg(shown.CurrentId)
            .arg(Quoted(shown.CurrentKeyword), Quoted(shown.CurrentUrl), Quoted(facts->abbr),
                 Quoted(facts->url));
    return {};
}

// Copy and the web page are enabled exactly when an entry (and, for the web page, an address a
// browser may open) is on show; back and forward exactly as the history's position allows. The
// toolbar and the menu always agree.
QString RandomUse::CommandRule() const {
    const ShownEntry& shown = window_->Current();
    const bool onShow = shown.CurrentId > 0 && !shown.Blanked;
    const History::HistoryStore& history = History::Store();
    const bool twoOrMore = history.EntryCount() >= 2;
    const struct {
        const char* menu;
        const char* button;
        bool enabled;
    } rules[] = {
        {"mnuEditCopy", "tbrCopy", onShow},
        {"mnuFileWeb", "tbrHome", onShow && Web::IsWebAddress(shown.CurrentUrl)},
        {"mnuGoItem0", "tbrLeft", twoOrMore && history.CurrentSlot() != history.OldestSlot()},
        {"mnuGoItem1", "tbrLeft", twoOrMore && history.CurrentSlot() != history.OldestSlot()},
        {"mnuGoItem2", "tbrRight", twoOrMore && history.CurrentSlot() != history.NewestSlot()},
        {"mnuGoItem3", "tbrRight", twoOrMore && history.CurrentSlot() != history.NewestSlot()},
    };
    for (const auto& rule : rules) {
        for (const char* name : {rule.menu, rule.button}) {
            const auto* action = window_->findChild<QAction*>(QLatin1String(name));
            if (action->isEnabled() != rule.enabled)
                return QStringLiteral("%1 is %2 with entry %3 (%4) on show, history slot %5 of "
                                      "%6..%7")
                    .arg(QLatin1String(name), action->isEnabled() ? QStringLiteral("enabled")
                                                                  : QStringLiteral("disabled"))
                    .arg(shown.CurrentId)
                    .arg(onShow ? Quoted(shown.CurrentUrl) : QStringLiteral("blank"))
                    .arg(history.CurrentSlot())
                    .arg(history.OldestSlot())
                    .arg(history.NewestSlot());
        }
    }
    return {};
}

// The history's position is the entry on show, no navigation is left half done, and an open
// history window lists exactly the ring with the current entry selected.
QString RandomUse::HistoryRule() const {
    const History::HistoryStore& history = History::Store();
    if (history.SkipNextAdd())
        return QStringLiteral("a navigation left the history waiting for an echo");
    const qint32 shownId = window_->Current().CurrentId;
    const qint32 currentId = history.HistoryEntries()[size_t(history.CurrentSlot())].EntryId;
    if (shownId > 0 && currentId != shownId)
        return QStringLiteral("entry %1 is on show, but the history stands at %2")
            .arg(shownId)
            .arg(currentId);
    QWidget* window = OpenHistoryWindow();
    if (bool(window) != window_->IsHistoryWindowOpen())
        return QStringLiteral("the history window is %1, but the main window thinks otherwise")
            .arg(window ? QStringLiteral("open") : QStringLiteral("closed"));
    if (!window)
        return {};
    const auto* list = window->findChild<QListWidget*>(QStringLiteral("lstHistory"));
    const QList<qint16> recorded = history.RecordedSlots();
    if (list->count() != recorded.size())
        return QStringLiteral("the history window lists %1 rows for %2 entries")
            .arg(list->count())
            .arg(recorded.size());
    for (int row = 0; row < list->count(); ++row) {
        const History::HistoryEntry& entry = history.HistoryEntries()[size_t(recorded[row])];
        const QListWidgetItem* item = list->item(row);
        if (item->text() != entry.Caption || item->data(Qt::UserRole).toInt() != recorded[row])
            return QStringLiteral("history row %1 is %2 (slot %3), the ring has %4 (slot %5)")
                .arg(row)
                .arg(Quoted(item->text()))
                .arg(item->data(Qt::UserRole).toInt())
                .arg(Quoted(entry.Caption))
                .arg(recorded[row]);
    }
    if (list->currentRow() != history.CurrentRowIndex())
        return QStringLiteral("the history window selects row %1, the current entry is row %2")
            .arg(list->currentRow())
            .arg(history.CurrentRowIndex());
    return {};
}

// Nothing the window does writes the dictionary. The whole file is compared now and then; its
// size and time on every action.
QString RandomUse::DictionaryRule() {
    const QFileInfo now(dictionary_.path);
    const bool changed = now.size() != fileSize_ || now.lastModified() != fileTime_;
    if (changed || log_.size() % 25 == 0) {
        if (dictionary_.Digest() != digest_)
            return QStringLiteral("the dictionary file changed");
    }
    return {};
}

// Once the list of an open text abbreviations window has caught up with its text, it lists
// exactly what the text holds, and its status line counts the rows.
QString RandomUse::TextAbbreviationsRule() const {
    QWidget* window = OpenTextAbbreviationsWindow();
    if (!window || window->findChild<QTimer*>(QStringLiteral("tmrRefresh"))->isActive())
        return {};
    const auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lstFound"));
    bool cut = false;
    const QString text = LookupText::CutToLimit(
        window->findChild<QPlainTextEdit*>(QStringLiteral("txtText"))->toPlainText(), &cut);
    const QList<TextAbbreviations::Found> found =
        TextAbbreviations::FindAll(window_->Dictionary().Db(), text);
    QStringList listed, expected;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        listed << list->topLevelItem(row)->text(1) + QLatin1Char('#') +
                      list->topLevelItem(row)->data(1, Qt::UserRole).toString();
    for (const TextAbbreviations::Found& f : found)
        expected << f.abbr + QLatin1Char('#') + QString::number(f.id);
    if (listed != expected)
        return QStringLiteral("the text abbreviations window lists %1, the text holds %2")
            .arg(Quoted(listed.join(u' ')), Quoted(expected.join(u' ')));
    const QString status = window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
    const QString count = QStringLiteral("略語 : %1件").arg(found.size());
    if (!text.trimmed().isEmpty() && status != count && !status.startsWith(count + u'（'))
        return QStringLiteral("the text abbreviations window says %1 for %2 rows")
            .arg(Quoted(status))
            .arg(found.size());
    return {};
}

// A search that found nothing says so, offers at most eight entries the dictionary has, and
// changes neither the entry current nor the history; a suggestion followed shows its entry and
// is recorded like any other.
QString RandomUse::NoResultRule() const {
    const ShownEntry& shown = window_->Current();
    const History::HistoryStore& history = History::Store();
    if (followedSuggestion_ > 0) {
        if (shown.Blanked || shown.CurrentId != followedSuggestion_)
            return QStringLiteral("the suggestion of entry %1 was followed, but %2 is on show")
                .arg(followedSuggestion_)
                .arg(shown.Blanked ? QStringLiteral("nothing") : QString::number(shown.CurrentId));
        // Like any entry shown again where the history stands, one already current is not
        // recorded twice; anything else becomes the newest entry.
        if ((!followedWasCurrent_ && history.CurrentSlot() != history.NewestSlot()) ||
            history.HistoryEntries()[size_t(history.CurrentSlot())].EntryId != shown.CurrentId)
            return QStringLiteral("the suggestion of entry %1 was shown without being recorded")
                .arg(followedSuggestion_);
    }
    if (!shown.NotFound)
        return {};
    const auto* box = qobject_cast<const DescriptionBox*>(MainControl("pbxDescription"));
    const QString sentence = box->Reading().text.section(u'\n', 0, 0);
    if (!shown.Blanked || !sentence.startsWith(u'"') ||
        !sentence.endsWith(QStringLiteral("\" は見つかりませんでした。")))
        return QStringLiteral("after a search that found nothing the view reads %1")
            .arg(Quoted(box->Reading().text.left(80)));
    const HyperText::DescriptionLinks& links = box->Links();
    if (links.LinkCount() > Suggestions::kMostSuggestions)
        return QStringLiteral("%1 suggestions are offered").arg(links.LinkCount());
    for (int i = 0; i < links.LinkCount(); ++i) {
        if (!dictionary_.entries.contains(links.Link(i).linkId))
            return QStringLiteral("the suggestion %1 leads to entry %2, which does not exist")
                .arg(Quoted(links.Link(i).text))
                .arg(links.Link(i).linkId);
    }
    if (before_.window == window_.get() &&
        (shown.CurrentId != before_.currentId || HistoryIds() != before_.history))
        return QStringLiteral("a search that found nothing changed the entry current (%1, was "
                              "%2) or the history")
            .arg(shown.CurrentId)
            .arg(before_.currentId);
    return {};
}
