// Start-up of the main window on a good, a missing and an unusable dictionary, in this process
// and as the real program.
#include "MainWindowFixture.h"
#include "ShellProcess.h"
#include "ShellTestSupport.h"

#include "app/StatusPanels.h"
#include "data/DbAccess.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QScreen>

namespace {

QString Bundled() {
    return QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB");
}

} // namespace

class StartupTest : public MainWindowTest {
protected:
    // Expects the one box that ends a failed start.
    void ExpectOpenFailure(const QString& text) {
        ASSERT_EQ(messages_.boxes.size(), 1);
        const MessageRequest& box = messages_.boxes.front();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, QStringLiteral("Tessarine 2000"));
        EXPECT_EQ(box.icon, MessageIcon::Critical);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_FALSE(W().isVisible()) << "the window must go again";
        EXPECT_EQ(W().Dictionary().Db(), nullptr) << "shutdown closes the dictionary";
    }
};

TEST_F(StartupTest, BundledDictionaryStartsWithAllCategories) {
    RecordingList expected;
    ASSERT_GT(OpenForTest(Bundled(), &expected), 0);
    TestDb().Close();

    ASSERT_TRUE(Start());
    EXPECT_TRUE(messages_.boxes.isEmpty());
    EXPECT_TRUE(W().isVisible());
    EXPECT_NE(W().Dictionary().Db(), nullptr);
    EXPECT_EQ(W().Dictionary().Path(), BundledDir() + QStringLiteral("/ABBR.MDB"));
    EXPECT_EQ(W().HelpFilePath(), BundledDir() + QStringLiteral("/Abbr.hlp"));

    // "全て" first with 0, then the categories in the dictionary's order with their ids.
    ASSERT_EQ(C().cmbCategory->count(), expected.items.size() + 1);
    EXPECT_EQ(expected.items.size(), 9);
    EXPECT_EQ(C().cmbCategory->itemText(0), QStringLiteral("全て"));
    EXPECT_EQ(C().cmbCategory->itemData(0).toInt(), 0);
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
    for (int i = 0; i < expected.items.size(); ++i) {
        EXPECT_EQ(C().cmbCategory->itemText(i + 1), expected.items[i].text) << i;
        EXPECT_EQ(C().cmbCategory->itemData(i + 1).toInt(), expected.items[i].data) << i;
    }
}

TEST_F(StartupTest, DirectoryWithItsSeparatorAlreadyAtTheEnd) {
    ASSERT_TRUE(Start(BundledDir() + QStringLiteral("/")));
    EXPECT_EQ(W().Dictionary().Path(), BundledDir() + QStringLiteral("/ABBR.MDB"));
    EXPECT_EQ(W().HelpFilePath(), BundledDir() + QStringLiteral("/Abbr.hlp"));
}

TEST_F(StartupTest, StartupFontIsTheDefaultFaceAtNinePoints) {
    ASSERT_TRUE(Start());
    const QString preferred = QStringLiteral("ＭＳ Ｐゴシック");
    bool installed = false;
    for (const QString& family : QFontDatabase::families())
        installed = installed || family.compare(preferred, Qt::CaseInsensitive) == 0;
    const QString systemFace = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    EXPECT_EQ(W().font().family(), installed ? preferred : systemFace);
    EXPECT_EQ(W().font().pointSize(), 9);
    EXPECT_EQ(C().txtSearchKey->font().pointSize(), 9);
    EXPECT_EQ(W().DisplayFont().size, 9.0);
}

TEST_F(StartupTest, WindowKeepsTheCentredCornerOfTheDesignSize) {
    ASSERT_TRUE(Start());
    // Centred at the design client size of 6225 by 5130 twips; the font then sizes the window
    // without moving its corner.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int left = screen.left() + qRound((screen.width() * 15 - 6225) / 2 / 15.0);
    const int top = screen.top() + qRound((screen.height() * 15 - 5130) / 2 / 15.0);
    EXPECT_NEAR(W().pos().x(), left, 1);
    EXPECT_NEAR(W().pos().y(), top, 1);
}

TEST_F(StartupTest, MissingDictionaryEndsTheStart) {
    QTemporaryDir empty;
    EXPECT_FALSE(Start(empty.path()));
    ExpectOpenFailure(QStringLiteral("データベースが開けません"));
}

TEST_F(StartupTest, FileThatIsNoDatabaseEndsTheStart) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("ABBR.MDB")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    EXPECT_FALSE(Start(dir.path()));
    ExpectOpenFailure(QStringLiteral("データベースが開けません"));
}

TEST_F(StartupTest, DatabaseWithoutCategoryTableEndsTheStart) {
    auto dictionary = TestDictionary::Standard();
    dictionary->Execute("DROP TABLE CategoryTB");
    EXPECT_FALSE(Start(dictionary->Dir()));
    ExpectOpenFailure(QStringLiteral("不正なデータベースです"));
}

TEST_F(StartupTest, DictionaryWithoutCategoriesEndsTheStart) {
    auto dictionary = TestDictionary::Standard();
    dictionary->Execute("DELETE FROM CategoryTB");
    EXPECT_FALSE(Start(dictionary->Dir()));
    ExpectOpenFailure(QStringLiteral("有効なレコードがありません"));
}

TEST_F(StartupTest, CategoriesOfASmallDictionaryFollowAll) {
    auto dictionary = TestDictionary::Standard();
    RecordingList expected;
    ASSERT_EQ(OpenForTest(dictionary->Path(), &expected), 3);
    TestDb().Close();
    ASSERT_TRUE(Start(dictionary->Dir()));
    ASSERT_EQ(C().cmbCategory->count(), 4);
    EXPECT_EQ(C().cmbCategory->currentText(), QStringLiteral("全て"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(C().cmbCategory->itemText(i + 1), expected.items[i].text);
        EXPECT_EQ(C().cmbCategory->itemData(i + 1).toInt(), expected.items[i].data);
    }
}

// --- The real program ------------------------------------------------------------------------

TEST(StartupProcessTest, BrokenDictionaryEndsTheProgramWithAFailure) {
    ProgramCopy copy;
    copy.WriteDictionary(QByteArray("not a dictionary at all\n").repeated(200));
    QProcess* program = copy.Start();
    ASSERT_TRUE(Ends(program, 30000)) << "the program hangs on a broken dictionary";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(program->exitCode(), 0);
    const QString errors = QString::fromUtf8(program->readAllStandardError());
    EXPECT_TRUE(errors.contains(QStringLiteral("Tessarine 2000: データベースが開けません")))
        << qPrintable(errors);
}

TEST(StartupProcessTest, MissingDictionaryEndsTheProgramWithAFailure) {
    ProgramCopy copy;
    QProcess* program = copy.Start();
    ASSERT_TRUE(Ends(program, 30000)) << "the program hangs without a dictionary";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(program->exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(program->readAllStandardError())
                    .contains(QStringLiteral("データベースが開けません")));
}

TEST(StartupProcessTest, GoodDictionaryKeepsTheProgramRunning) {
    ProgramCopy copy;
    copy.AddBundledDictionary();
    QProcess* program = copy.Start();
    EXPECT_TRUE(copy.WaitUntilReady(program))
        << "exit " << program->exitCode() << ": " << program->readAllStandardError().toStdString();
    EXPECT_FALSE(QString::fromUtf8(program->readAllStandardError())
                     .contains(QStringLiteral("データベース")));
}
