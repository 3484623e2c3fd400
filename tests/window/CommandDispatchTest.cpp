// Toolbar buttons and shortcut keys reach the menu commands' handlers.
#include "EntryFixtures.h"

#include "auxiliary/Web.h"

#include <QClipboard>

namespace {

class CommandDispatchTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        previousOpener_ = Web::SetUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
        QApplication::clipboard()->setText(QStringLiteral("clipboard"));
    }
    void TearDown() override {
        Web::SetUrlOpener(previousOpener_);
        EntryWindowTest::TearDown();
    }

    void Click(const char* key) {
        QToolButton* button = ToolbarWidget(key);
        ASSERT_NE(button, nullptr) << key;
        ASSERT_TRUE(button->isEnabled()) << key;
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }

    static QWidget* HelpWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible())
                return w;
        return nullptr;
    }

    // Everything a command could change.
    struct Snapshot {
        qint32 id;
        QString key, letter, caption, clipboard;
        int category, results, related, boxes;
        qint16 slot;
        bool help;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    Snapshot Take() {
        return {W().Current().CurrentId,
                C().txtSearchKey->text(),
                C().txtLetter->text(),
                W().windowTitle(),
                QApplication::clipboard()->text(),
                C().cmbCategory->currentIndex(),
                C().lstDbList->count(),
                C().lstLink->count(),
                int(messages_.boxes.size()),
                Store().CurrentSlot(),
                HelpWindow() != nullptr};
    }

    LinkedDictionary linked_;
    QList<QUrl> opened_;
    Web::UrlOpener previousOpener_;
};

TEST_F(CommandDispatchTest, EveryToolbarButtonReachesItsCommand) {
    C().txtSearchKey->setText(QStringLiteral("RAM"));
    Click("Find");
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);

    ClickRow(C().lstLink, 1); // CPU, which has a web address
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    Click("Left");
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    Click("Right");
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);

    Click("Home");
    ASSERT_EQ(messages_.boxes.size(), 1);
    EXPECT_EQ(messages_.boxes.last().title, QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞを開く"));
    EXPECT_EQ(opened_, QList<QUrl>{QUrl(QStringLiteral("https://cpu.example/"))});

    Click("Copy");
    ASSERT_EQ(messages_.boxes.size(), 2);
    EXPECT_EQ(messages_.boxes.last().title, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"));
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));

    C().cmbCategory->setCurrentIndex(1);
    Click("New");
    EXPECT_TRUE(C().txtSearchKey->text().isEmpty());
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
    EXPECT_TRUE(C().txtSearchKey->hasFocus());

    QApplication::clipboard()->setText(QStringLiteral("gpu"));
    Click("Paste");
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("gpu"));
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu) << "paste does not search";

    QApplication::clipboard()->setText(QStringLiteral("alu"));
    Click("PasteFind");
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);

    ASSERT_EQ(HelpWindow(), nullptr);
    Click("Help");
    EXPECT_NE(HelpWindow(), nullptr);
}

TEST_F(CommandDispatchTest, UnknownOrWrongCaseKeysDoNothing) {
    Search(QStringLiteral("CPU"));
    Show(linked_.ram);
    C().txtSearchKey->setText(QStringLiteral("GPU"));
    const Snapshot before = Take();
    for (const char* key : {"", "Bogus", "find", "FIND", "left", "Right ", "pastefind",
                            "Paste Find", "HELP", "home", "copy", "new"}) {
        W().tbrToolbar_ButtonClick(QString::fromLatin1(key));
        QApplication::processEvents();
        EXPECT_EQ(Take(), before) << '"' << key << '"';
    }
    // The right spelling of one of them does act.
    W().tbrToolbar_ButtonClick(QStringLiteral("Left"));
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
}

TEST_F(CommandDispatchTest, DisabledButtonsSendNothing) {
    ASSERT_FALSE(C().ToolbarButton("Copy")->isEnabled());
    const Snapshot before = Take();
    for (const char* key : {"Left", "Right", "Home", "Copy"})
        QTest::mouseClick(ToolbarWidget(key), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Take(), before);
}

TEST_F(CommandDispatchTest, MenuShortcutsActOnTheWindowWhateverHasTheFocus) {
    Search(QStringLiteral("CPU"));
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);

    // Ctrl+C in a search box with selected text copies the entry, not the selection.
    C().txtSearchKey->setText(QStringLiteral("selected"));
    Focus(C().txtSearchKey);
    C().txtSearchKey->selectAll();
    QTest::keyClick(C().txtSearchKey, Qt::Key_C, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(messages_.boxes.size(), 1);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QLatin1String("CPU\r\n")));

    // Ctrl+V pastes once, through the window's command.
    QApplication::clipboard()->setText(QStringLiteral("xy"));
    C().txtSearchKey->clear();
    QTest::keyClick(C().txtSearchKey, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("xy"));

    // Ctrl+F pastes and searches.
    QApplication::clipboard()->setText(QStringLiteral("gpu"));
    QTest::keyClick(C().txtSearchKey, Qt::Key_F, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);

    // Ctrl+G opens no page for an entry without an address ...
    QTest::keyClick(C().lstDbList, Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(opened_.isEmpty());
    // ... and offers the page of one that has it.
    Show(linked_.cpu);
    QTest::keyClick(C().lstDbList, Qt::Key_G, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(opened_.size(), 1);

    // Shift+Del clears the search conditions.
    Focus(C().txtLetter);
    C().txtLetter->setText(QStringLiteral("letters"));
    QTest::keyClick(C().txtLetter, Qt::Key_Delete, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_TRUE(C().txtSearchKey->text().isEmpty());
    EXPECT_TRUE(C().txtSearchKey->hasFocus());
}

} // namespace
