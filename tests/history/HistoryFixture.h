#pragma once

#include "FakeHistoryViews.h"
#include "history/History.h"

#include <gtest/gtest.h>

// A store wired to fake windows, with the steps the rest of the program takes: showing an entry
// reports it with Add, and a Go command moves and then shows the entry it is answered with.
class HistoryFixture : public ::testing::Test {
protected:
    using Op = History::HistoryOp;

    void SetUp() override {
        store.SetWindowHost(&window);
        store.SetNavigationCommands(&commands);
    }

    static QString CaptionOf(qint32 id) { return QStringLiteral("E%1").arg(id); }

    static QStringList Captions(qint32 first, qint32 last) {
        QStringList captions;
        for (qint32 id = first; id <= last; ++id)
            captions.append(CaptionOf(id));
        return captions;
    }

    qint32 Show(qint32 id) {
        qint32 arg = id;
        return store.HistoryAction(Op::Add, arg, CaptionOf(id));
    }

    void ShowRange(qint32 first, qint32 last) {
        for (qint32 id = first; id <= last; ++id)
            Show(id);
    }

    qint32 Go(Op op, qint32 slot = 0) {
        const qint32 id = store.Navigate(op, slot);
        if (id > 0)
            Show(id);
        return id;
    }

    void GoBack(int times) {
        for (int i = 0; i < times; ++i)
            Go(Op::GoBack);
    }

    void ToggleWindow() {
        qint32 none = 0;
        EXPECT_EQ(store.HistoryAction(Op::ToggleWindow, none, QString()), 0);
    }

    // The captions of the recorded entries, oldest first.
    QStringList RecordedCaptions() const {
        QStringList captions;
        for (qint16 slot : store.RecordedSlots())
            captions.append(store.HistoryEntries()[slot].Caption);
        return captions;
    }

    void ExpectSlots(qint16 oldest, qint16 current, qint16 newest) const {
        EXPECT_EQ(store.OldestSlot(), oldest);
        EXPECT_EQ(store.CurrentSlot(), current);
        EXPECT_EQ(store.NewestSlot(), newest);
    }

    History::HistoryStore store;
    FakeHistoryWindow window;
    FakeNavigationCommands commands;
};
