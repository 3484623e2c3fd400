// Which file a start opens, and when two starts mean the same one.
#include "app/DictionaryChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DictionaryChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        saved_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    }
    void TearDown() override { QDir::setCurrent(saved_); }
    QString Make(const QString& name) {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    QTemporaryDir dir_;
    QString saved_;
};

TEST_F(DictionaryChoiceTest, WithoutANameTheFileBesideTheProgram) {
    EXPECT_EQ(DictionaryChoice::Path(QString(), QStringLiteral("/opt/t/")),
              QStringLiteral("/opt/t/ABBR.MDB"));
}

TEST_F(DictionaryChoiceTest, ANameIsMadeAbsoluteAgainstTheCurrentFolder) {
    const QString here = QDir::currentPath();
    EXPECT_EQ(DictionaryChoice::Path(QStringLiteral("my dict.mdb"), QStringLiteral("/opt/t/")),
              here + QStringLiteral("/my dict.mdb"));
    EXPECT_EQ(DictionaryChoice::Path(QStringLiteral("-odd.mdb"), QStringLiteral("/opt/t/")),
              here + QStringLiteral("/-odd.mdb"));
    EXPECT_EQ(DictionaryChoice::Path(QStringLiteral("/abs/辞書.mdb"), QStringLiteral("/opt/t/")),
              QStringLiteral("/abs/辞書.mdb"));
}

TEST_F(DictionaryChoiceTest, TheSameFileByAnyRoute) {
    const QString file = Make(QStringLiteral("辞書.mdb"));
    ASSERT_TRUE(QFile::link(file, dir_.filePath(QStringLiteral("link.mdb"))));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
    EXPECT_TRUE(DictionaryChoice::SameFile(file, dir_.filePath(QStringLiteral("link.mdb"))));
    EXPECT_TRUE(DictionaryChoice::SameFile(file, dir_.filePath(QStringLiteral("sub/../辞書.mdb"))));
    EXPECT_TRUE(DictionaryChoice::SameFile(file, QStringLiteral("辞書.mdb"))) << "relative";
}

TEST_F(DictionaryChoiceTest, DifferentFilesAndMissingOnes) {
    const QString a = Make(QStringLiteral("a.mdb"));
    const QString b = Make(QStringLiteral("b.mdb"));
    EXPECT_FALSE(DictionaryChoice::SameFile(a, b));
    EXPECT_FALSE(DictionaryChoice::SameFile(a, dir_.filePath(QStringLiteral("A.mdb"))));
    // A file that is gone (the running copy's, deleted since) still compares by its name.
    const QString gone = dir_.filePath(QStringLiteral("gone.mdb"));
    EXPECT_TRUE(DictionaryChoice::SameFile(gone, dir_.filePath(QStringLiteral("./gone.mdb"))));
    EXPECT_FALSE(DictionaryChoice::SameFile(gone, a));
}
