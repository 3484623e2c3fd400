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
        Focus(W().txtSearchKey);
    }

    static void SetClipboard(const QString& text) { QApplication::clipboard()->setText(text); }

    void PasteSearch(const QString& text) {
        SetClipboard(text);
        W().mnuEditPasteSearch->trigger();
        QApplication::processEvents();
    }

    TestDictionary dict_;
    qint32 cpu_ = 0, tcpip_ = 0, one_ = 0, ram_ = 0;
};

TEST_F(PasteTest, PasteReplacesOnlyTheSelectionOfTheFocusedBox) {
    W().txtSearchKey->setText(QStringLiteral("KEY"));
    W().txtLetter->setText(QStringLiteral("Central Processing Unit"));
    Focus(W().txtLetter);
    W().txtLetter->setSelection(8, 10); // "Processing"
    SetClipboard(QStringLiteral("  ＰＵ x "));
    W().mnuEditPaste->trigger();
    EXPECT_EQ(W().txtLetter->text(), QStringLiteral("Central   ＰＵ x  Unit"))
        << "neither trimmed nor converted";
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("KEY"));

    // Without a selection it goes in at the caret.
    Focus(W().txtSearchKey);
    W().txtSearchKey->setCursorPosition(1);
    SetClipboard(QStringLiteral("-"));
    W().mnuEditPaste->trigger();
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("K-EY"));
    EXPECT_EQ(W().CurrentId, 0) << "paste does not search";
}

TEST_F(PasteTest, PasteDoesNothingOutsideTheSearchBoxes) {
    W().txtSearchKey->setText(QStringLiteral("CPU"));
    W().mnuFileFind->trigger();
    ASSERT_TRUE(W().lstDbList->hasFocus());
    SetClipboard(QStringLiteral("pasted"));
    W().mnuEditPaste->trigger();
    Focus(W().lstLink);
    W().mnuEditPaste->trigger();
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_TRUE(W().txtLetter->text().isEmpty());
    EXPECT_EQ(W().lstDbList->count(), 1);
}

TEST_F(PasteTest, PasteWithoutTextOnTheClipboardDoesNothing) {
    W().txtSearchKey->setText(QStringLiteral("CPU"));
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QApplication::clipboard()->setMimeData(image);
    W().mnuEditPaste->trigger();
    W().mnuEditPasteSearch->trigger();
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_EQ(W().CurrentId, 0);
}

TEST_F(PasteTest, PasteAndSearchNarrowsFullWidthAndStopsAtTheFirstOtherCharacter) {
    W().txtLetter->setText(QStringLiteral("leftover"));
    PasteSearch(QStringLiteral("\u3000ＣＰＵかな"));
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_TRUE(W().txtLetter->text().isEmpty());
    EXPECT_EQ(W().CurrentId, cpu_);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_TRUE(W().lstDbList->hasFocus());
}

TEST_F(PasteTest, PasteAndSearchTakesTheFirstWordOnly) {
    PasteSearch(QStringLiteral("  TCP/IP protocol"));
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("TCP/IP"));
    EXPECT_EQ(W().CurrentId, tcpip_);

    PasteSearch(QStringLiteral("(1) RAM"));
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("(1)"));
    EXPECT_EQ(W().CurrentId, one_) << "searched by its normal form 1";
}

TEST_F(PasteTest, PasteAndSearchStaysWithinTheChosenCategory) {
    W().cmbCategory->setCurrentIndex(W().cmbCategory->findData(2));
    PasteSearch(QStringLiteral("CPU"));
    EXPECT_EQ(W().cmbCategory->currentData().toInt(), 2);
    EXPECT_EQ(W().lstDbList->count(), 0);
    EXPECT_EQ(W().CurrentId, 0);
}

TEST_F(PasteTest, PasteAndSearchWithoutAnAsciiWordDoesNothing) {
    PasteSearch(QStringLiteral("CPU"));
    W().txtSearchKey->setText(QStringLiteral("kept"));
    W().txtLetter->setText(QStringLiteral("also kept"));
    for (const QString& text :
         {QStringLiteral("かなと漢字だけ"), QStringLiteral(" \t\r\n\u3000 "), QString()}) {
        PasteSearch(text);
        EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("kept"));
        EXPECT_EQ(W().txtLetter->text(), QStringLiteral("also kept"));
        EXPECT_EQ(W().lstDbList->count(), 1);
        EXPECT_EQ(W().CurrentId, cpu_);
    }
}

TEST_F(PasteTest, HugeClipboardCompletesWithTheRightWord) {
    QString text(3 * 1024 * 1024, QChar(u'あ'));
    text += QStringLiteral(" RAM chips");
    PasteSearch(text);
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("RAM"));
    EXPECT_EQ(W().CurrentId, ram_);

    // A word at the start of a huge text needs none of the rest.
    PasteSearch(QStringLiteral("CPU ") + QString(4 * 1024 * 1024, QLatin1Char('x')));
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("CPU"));
}

TEST_F(PasteTest, ClipboardWithNulCharactersIsReadSafely) {
    PasteSearch(QString(QChar(0)) + QString(QChar(0)) + QStringLiteral("TCP/IP") + QChar(0) +
                QStringLiteral("RAM"));
    EXPECT_EQ(W().txtSearchKey->text(), QStringLiteral("TCP/IP"));
    EXPECT_EQ(W().CurrentId, tcpip_);

    SetClipboard(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    W().txtSearchKey->clear();
    Focus(W().txtSearchKey);
    W().mnuEditPaste->trigger();
    EXPECT_TRUE(W().txtSearchKey->text().startsWith(QLatin1String("ab")));
}

TEST_F(PasteTest, ClearEmptiesBothBoxesResetsTheCategoryAndFocusesTheKey) {
    PasteSearch(QStringLiteral("CPU"));
    W().txtLetter->setText(QStringLiteral("letter"));
    W().cmbCategory->setCurrentIndex(2);
    const QString status = StatusText();
    W().mnuEditDelete->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(W().txtSearchKey->text().isEmpty());
    EXPECT_TRUE(W().txtLetter->text().isEmpty());
    EXPECT_EQ(W().cmbCategory->currentIndex(), 0);
    EXPECT_EQ(W().cmbCategory->currentText(), QStringLiteral("全て"));
    EXPECT_TRUE(W().txtSearchKey->hasFocus());
    // The results, the entry and the status stay.
    EXPECT_EQ(W().lstDbList->count(), 1);
    EXPECT_EQ(W().CurrentId, cpu_);
    EXPECT_FALSE(W().pbxDescription->Drawing().empty());
    EXPECT_EQ(StatusText(), status);

    // With everything already clear it still moves the focus.
    Focus(W().lstDbList);
    W().mnuEditDelete->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(W().txtSearchKey->hasFocus());
    EXPECT_EQ(W().cmbCategory->currentIndex(), 0);
}

} // namespace
