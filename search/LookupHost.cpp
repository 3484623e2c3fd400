// Looking up a text that a later start handed over, or that this start was given: what the text
// is decides what happens, with no question asked (search/LookupPlan.h has the rule).
#include "app/StatusPanels.h"
#include "app/frmMain.h"
#include "fulltext/frmFullText.h"
#include "search/LookupPlan.h"
#include "search/LookupText.h"
#include "search/SelectionText.h"
#include "search/frmTextAbbreviations.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWindow>

namespace {

// Texts that wait for the dictionary: more than this and the oldest give way to the newer.
constexpr qsizetype kMostPending = 16;
// How long a copy that must read the selection itself waits to be given the keyboard.
constexpr int kFocusWaitMs = 2000;

} // namespace

void frmMain::LookUp(const HandOver::LookupRequest& request) {
    if (!lookupsReady_) {
        if (pendingLookups_.size() >= kMostPending)
            pendingLookups_.removeFirst();
        pendingLookups_.append(request);
        return;
    }
    BringForward(request.activationToken);
    if (request.readSelection)
        LookUpSelectionWhenActive();
    else
        ActOnText(request.text, request.cut);
}

void frmMain::LookUpPending() {
    const QList<HandOver::LookupRequest> pending = std::exchange(pendingLookups_, {});
    for (const HandOver::LookupRequest& request : pending)
        LookUp(request);
}

void frmMain::LookUpSelectionWhenActive() {
    auto act = [this] {
        bool cut = false;
        const QString text = LookupText::CutToLimit(SelectionText::Read(), &cut);
        ActOnText(text, cut);
    };
    if (SelectionText::ReadableWithoutFocus() || QGuiApplication::focusWindow()) {
        act();
        return;
    }
    // A Wayland compositor tells the selection only to the program that has the keyboard: it is
    // read once one of the program's windows gets it, or after a while whatever is there.
    auto* waiter = new QTimer(this);
    waiter->setSingleShot(true);
    auto once = [waiter, act] {
        if (!waiter->isActive())
            return;
        waiter->stop();
        waiter->deleteLater();
        act();
    };
    connect(qApp, &QGuiApplication::focusWindowChanged, waiter, [once](QWindow* focused) {
        if (focused)
            once();
    });
    connect(waiter, &QTimer::timeout, waiter, [waiter, act] {
        waiter->deleteLater();
        act();
    });
    waiter->start(kFocusWaitMs);
}

void frmMain::ActOnText(const QString& text, bool cut) {
    const LookupText::Problem problem = LookupText::Check(text);
    if (problem != LookupText::Problem::None) {
        statusPanels->SetText(LookupText::StatusMessage(problem));
        return;
    }
    const LookupPlan::Plan plan = LookupPlan::Decide(dictionary_.Db(), text);
    switch (plan.kind) {
    case LookupPlan::Kind::OneWord:
    case LookupPlan::Kind::NothingFound:
        PasteSearch(plan.word);
        if (resultCount_ < 1)
            statusPanels->SetText(
                plan.kind == LookupPlan::Kind::OneWord
                    ? QStringLiteral("「%1」は見つかりませんでした").arg(plan.word)
                    : QStringLiteral("テキストの中に、辞書にある略語は"
                                     "見つかりませんでした"));
        break;
    case LookupPlan::Kind::OneEntry:
        ShowFoundEntry(plan.entry);
        break;
    case LookupPlan::Kind::SeveralEntries:
        OpenTextAbbreviations(text);
        textAbbreviationsWindow_->FocusList();
        break;
    case LookupPlan::Kind::FullText:
        SearchFullText(plan.query);
        break;
    }
    if (cut)
        statusPanels->SetText(statusPanels->TextValue() +
                              QStringLiteral("（長いテキストの先頭 %1 KiB だけを引きました）")
                                  .arg(LookupText::kMostBytes / 1024));
}

// As a search for the entry's abbreviation shows it; a category that hides it is set aside.
void frmMain::ShowFoundEntry(const TextAbbreviations::Found& entry) {
    auto rowOf = [this](qint32 id) {
        for (int row = 0; row < lstDbList->count(); ++row) {
            if (lstDbList->item(row)->data(Qt::UserRole).toInt() == id)
                return row;
        }
        return -1;
    };
    PasteSearch(entry.abbr);
    if (rowOf(entry.id) < 0 && cmbCategory->currentIndex() != 0) {
        cmbCategory->setCurrentIndex(0);
        mnuFileFind_Click();
    }
    const int row = rowOf(entry.id);
    if (row > 0)
        lstDbList->setCurrentRow(row);
}

void frmMain::SearchFullText(const QString& query) {
    mnuFileFullText_Click();
    fullTextWindow_->SearchFor(query);
}
