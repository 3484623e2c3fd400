// Paste, paste-and-search and clear with the real clipboard of the offscreen platform.
#include "EntryFixtures.h"

#include <QClipboard>
#include <QMimeData>

namespace {

class PasteTest : public EntryWindowTest {
protected:
    void SetUp() override {
        dict_.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
        dict_.AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
        cpu_ = dict_.AddEntry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1);
        tcpip_ =
            dict_.AddEntry(QStringLiteral("TCP/IP"),
                           QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2);
        one_ = dict_.AddEntry(QStringLiteral("1"), QStringLiteral("one"), 1);
        ram_ = dict_.AddEntry(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1);
        dict_.Finish();
        ASSERT_TRUE(Start(dict_.Dir()));
        Focus(C().txtSearchKey);
    }

    static void SetClipboard(const QString& text) { QApplication::clipboard()->setText(text); }

    void PasteSearch(const QString& text) {
        SetClipboard(text);
        C().mnuEditPasteSearch->trigger();
        QApplication::processEvents();
    }

    TestDictionary dict_;
    qint32 cpu_ = 0, tcpip_ = 0, one_ = 0, ram_ = 0;
};

TEST_F(PasteTest, PasteReplacesOnlyTheSelectionOfTheFocusedBox) {
    C().txtSearchKey->setText(QStringLiteral("KEY"));
    C().txtLetter->setText(QStringLiteral("Central Processing Unit"));
    Focus(C().txtLetter);
    C().txtLetter->setSelection(8, 10); // "Processing"
    SetClipboard(QStringLiteral("  ＰＵ x "));
    C().mnuEditPaste->trigger();
    EXPECT_EQ(C().txtLetter->text(), QStringLiteral("Central   ＰＵ x  Unit"))
        << "neither trimmed nor converted";
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("KEY"));

    // Without a selection it goes in at the caret.
    Focus(C().txtSearchKey);
    C().txtSearchKey->setCursorPosition(1);
    SetClipboard(QStringLiteral("-"));
    C().mnuEditPaste->trigger();
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("K-EY"));
    EXPECT_EQ(W().Current().CurrentId, 0) << "paste does not search";
}

TEST_F(PasteTest, PasteDoesNothingOutsideTheSearchBoxes) {
    C().txtSearchKey->setText(QStringLiteral("CPU"));
    C().mnuFileFind->trigger();
    ASSERT_TRUE(C().lstDbList->hasFocus());
    SetClipboard(QStringLiteral("pasted"));
    C().mnuEditPaste->trigger();
    Focus(C().lstLink);
    C().mnuEditPaste->trigger();
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_EQ(C().lstDbList->count(), 1);
}

TEST_F(PasteTest, PasteWithoutTextOnTheClipboardDoesNothing) {
    C().txtSearchKey->setText(QStringLiteral("CPU"));
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QApplication::clipboard()->setMimeData(image);
    C().mnuEditPaste->trigger();
    C().mnuEditPasteSearch->trigger();
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_EQ(W().Current().CurrentId, 0);
}

TEST_F(PasteTest, PasteAndSearchNarrowsFullWidthAndStopsAtTheFirstOtherCharacter) {
    C().txtLetter->setText(QStringLiteral("leftover"));
    PasteSearch(QStringLiteral("\u3000ＣＰＵかな"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_EQ(W().Current().CurrentId, cpu_);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_TRUE(C().lstDbList->hasFocus());
}

TEST_F(PasteTest, PasteAndSearchTakesTheFirstWordOnly) {
    PasteSearch(QStringLiteral("  TCP/IP protocol"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("TCP/IP"));
    EXPECT_EQ(W().Current().CurrentId, tcpip_);

    PasteSearch(QStringLiteral("(1) RAM"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("(1)"));
    EXPECT_EQ(W().Current().CurrentId, one_) << "searched by its normal form 1";
}

TEST_F(PasteTest, PasteAndSearchStaysWithinTheChosenCategory) {
    C().cmbCategory->setCurrentIndex(C().cmbCategory->findData(2));
    PasteSearch(QStringLiteral("CPU"));
    EXPECT_EQ(C().cmbCategory->currentData().toInt(), 2);
    EXPECT_EQ(C().lstDbList->count(), 0);
    EXPECT_EQ(W().Current().CurrentId, 0);
}

TEST_F(PasteTest, PasteAndSearchWithoutAnAsciiWordDoesNothing) {
    PasteSearch(QStringLiteral("CPU"));
    C().txtSearchKey->setText(QStringLiteral("kept"));
    C().txtLetter->setText(QStringLiteral("also kept"));
    for (const QString& text :
         {QStringLiteral("かなと漢字だけ"), QStringLiteral(" \t\r\n\u3000 "), QString()}) {
        PasteSearch(text);
        EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("kept"));
        EXPECT_EQ(C().txtLetter->text(), QStringLiteral("also kept"));
        EXPECT_EQ(C().lstDbList->count(), 1);
        EXPECT_EQ(W().Current().CurrentId, cpu_);
    }
}

TEST_F(PasteTest, HugeClipboardCompletesWithTheRightWord) {
    QString text(3 * 1024 * 1024, QChar(u'あ'));
    text += QStringLiteral(" RAM chips");
    PasteSearch(text);
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("RAM"));
    EXPECT_EQ(W().Current().CurrentId, ram_);

    // A word at the start of a huge text needs none of the rest.
    PasteSearch(QStringLiteral("CPU ") + QString(4 * 1024 * 1024, QLatin1Char('x')));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
}

TEST_F(PasteTest, ClipboardWithNulCharactersIsReadSafely) {
    PasteSearch(QString(QChar(0)) + QString(QChar(0)) + QStringLiteral("TCP/IP") + QChar(0) +
                QStringLiteral("RAM"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("TCP/IP"));
    EXPECT_EQ(W().Current().CurrentId, tcpip_);

    SetClipboard(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    C().txtSearchKey->clear();
    Focus(C().txtSearchKey);
    C().mnuEditPaste->trigger();
    EXPECT_TRUE(C().txtSearchKey->text().startsWith(QLatin1String("ab")));
}

TEST_F(PasteTest, ClearEmptiesBothBoxesResetsTheCategoryAndFocusesTheKey) {
    PasteSearch(QStringLiteral("CPU"));
    C().txtLetter->setText(QStringLiteral("letter"));
    C().cmbCategory->setCurrentIndex(2);
    const QString status = StatusText();
    C().mnuEditDelete->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(C().txtSearchKey->text().isEmpty());
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
    EXPECT_EQ(C().cmbCategory->currentText(), QStringLiteral("全て"));
    EXPECT_TRUE(C().txtSearchKey->hasFocus());
    // The results, the entry and the status stay.
    EXPECT_EQ(C().lstDbList->count(), 1);
    EXPECT_EQ(W().Current().CurrentId, cpu_);
    EXPECT_FALSE(C().pbxDescription->Drawing().empty());
    EXPECT_EQ(StatusText(), status);

    // With everything already clear it still moves the focus.
    Focus(C().lstDbList);
    C().mnuEditDelete->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(C().txtSearchKey->hasFocus());
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
}

} // namespace
