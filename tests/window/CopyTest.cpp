// Copying the entry to the real clipboard and the confirmation that follows.
#include "EntryFixtures.h"

#include "app/WidgetMessageBox.h"

#include <QClipboard>
#include <QMimeData>
#include <QScreen>

namespace {

const QString kSentinel = QStringLiteral("untouched");

class CopyTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        QApplication::clipboard()->setText(kSentinel);
    }
    static QByteArray ClipboardBytes() {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return data ? data->data(QStringLiteral("text/plain")) : QByteArray();
    }
    LinkedDictionary linked_;
};

TEST_F(CopyTest, EntryWithoutAddressIsThreeLines) {
    Show(linked_.ram);
    W().mnuEditCopy_Click();
    const QString expected = QStringLiteral("RAM\r\nRandom Access Memory\r\nRAM plain\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_EQ(ClipboardBytes(), expected.toUtf8());

    ASSERT_EQ(messages_.boxes.size(), 1);
    const MessageRequest& box = messages_.boxes.first();
    EXPECT_EQ(box.text, expected + QStringLiteral("\r\nをクリップボードにコピーしました"));
    EXPECT_EQ(box.title, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"));
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.icon, MessageIcon::None);
}

TEST_F(CopyTest, EntryWithAddressIsFourLines) {
    Search(QStringLiteral("CPU"));
    C().mnuEditCopy->trigger();
    const QString expected =
        QStringLiteral("CPU\r\nCentral Processing Unit\r\nCPU plain\r\nhttps://cpu.example/\r\n");
    EXPECT_EQ(ClipboardBytes(), expected.toUtf8());
    ASSERT_EQ(messages_.boxes.size(), 1);
    EXPECT_EQ(messages_.boxes.first().text,
              expected + QStringLiteral("\r\nをクリップボードにコピーしました"));
}

TEST_F(CopyTest, CopiesTheEntryOfTheSelectedRelatedWordWhereverTheFocusIs) {
    Search(QStringLiteral("RAM"));
    ClickRow(C().lstLink, 1); // CPU, through its related word
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    Focus(C().txtLetter);
    C().mnuEditCopy->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));
    Focus(C().pbxDescription);
    QApplication::clipboard()->setText(kSentinel);
    W().mnuEditCopy_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));
}

// The selection in the related words may move on without showing the word; the entry on show
// is what is copied.
TEST_F(CopyTest, CopiesTheEntryOnShowWhileTheSelectionRestsOnAnotherWord) {
    Search(QStringLiteral("CPU"));
    Focus(C().lstLink);
    QTest::keyClick(C().lstLink, Qt::Key_End);
    QApplication::processEvents();
    ASSERT_EQ(C().lstLink->currentRow(), 2);
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    C().mnuEditCopy->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));
}

TEST_F(CopyTest, NothingBeforeAnyEntryWasShown) {
    ASSERT_EQ(C().lstLink->count(), 0);
    W().mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), kSentinel);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(CopyTest, NothingAfterASearchWithoutResults) {
    Search(QStringLiteral("CPU"));
    Search(QStringLiteral("nothing"));
    ASSERT_FALSE(C().mnuEditCopy->isEnabled());
    W().mnuEditCopy_Click(); // also when reached directly, with the command disabled
    EXPECT_EQ(QApplication::clipboard()->text(), kSentinel);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(CopyTest, ComesBackWhenTheHistoryShowsAnEntryAfterABlankSearch) {
    Search(QStringLiteral("CPU"));
    Show(linked_.ram);
    Search(QStringLiteral("nothing"));
    ASSERT_FALSE(C().mnuEditCopy->isEnabled());
    W().mnuGoItem_Click(1); // back to CPU: an entry is on show again, so it can be copied
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_TRUE(C().mnuEditCopy->isEnabled());
    EXPECT_TRUE(C().ToolbarButton("Copy")->isEnabled());
    W().mnuEditCopy_Click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));
}

TEST_F(CopyTest, NothingForAnEntryThatCannotBeRead) {
    Show(linked_.cpu);
    Show(999); // the list's first item carries the unreadable id
    W().mnuEditCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), kSentinel);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

// A long entry (FOLDOC's article on the GFDL runs to many paragraphs) is copied whole, and its
// confirmation stays within the screen: the box shows the text's beginning, "…" and the line
// that says it was copied.
TEST(LongCopyTest, TheConfirmationOfALongEntryStaysWithinTheScreen) {
    TestDictionary dict;
    dict.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
    QString text;
    for (int i = 1; i <= 40; ++i)
        text += QStringLiteral("Paragraph %1 of the licence: everyone is permitted to copy and "
                               "distribute verbatim copies of this document.\r\n")
                    .arg(i);
    DictionaryWriter::Entry entry =
        TestEntry(1, QStringLiteral("GFDL"), QStringLiteral("GNU Free Documentation License"), 1);
    entry.description = text;
    dict.AddEntry(entry);
    dict.Finish();
    MessageRecorder messages;
    frmMain window;
    ASSERT_TRUE(window.Form_Load(dict.Dir()));
    window.ShowKeyword(1);
    window.mnuEditCopy_Click();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(text)) << "the clipboard gets all of it";
    ASSERT_EQ(messages.boxes.size(), 1);
    EXPECT_EQ(messages.boxes.first().text,
              copied + QStringLiteral("\r\nをクリップボードにコピーしました"));

    const std::unique_ptr<QMessageBox> box = MakeWidgetMessageBox(messages.boxes.first());
    box->show();
    QApplication::processEvents();
    const QRect screen = box->screen()->availableGeometry();
    EXPECT_LE(box->frameGeometry().height(), screen.height());
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("GFDL\nGNU Free Documentation License\n")));
    EXPECT_TRUE(box->text().endsWith(QStringLiteral("…\nをクリップボードにコピーしました")))
        << box->text().right(80).toStdString();
    EXPECT_GT(box->text().count(QLatin1Char('\n')), 5) << "as much as fits is shown";
    box->close();

    // A message that fits is shown as it is.
    const std::unique_ptr<QMessageBox> small =
        MakeWidgetMessageBox({QStringLiteral("短い\r\n文"), QStringLiteral("題")});
    EXPECT_EQ(small->text(), QStringLiteral("短い\n文"));
}

} // namespace
