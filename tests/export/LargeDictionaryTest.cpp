#include "DictdServer.h"
#include "ExportFixtures.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The large dictionary built from Debian's dict-vera, dict-foldoc and edict with tessarine-dictd,
// then exported in both formats once for the suite. Skipped without the packages (scripts/run-large
// installs them).
class LargeDictionaryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* input : kInputs) {
            if (!QFile::exists(QLatin1String(input)))
                return;
        }
        dir_ = new QTemporaryDir;
        const QString dictionary = dir_->filePath(QStringLiteral("ABBR.MDB"));
        QStringList arguments{QStringLiteral("-o"), dictionary};
        for (const char* input : kInputs)
            arguments << QLatin1String(input);
        const ProcessResult built =
            RunProcess(QStringLiteral(TESSARINE_BIN_DIR "/tessarine-dictd"), arguments);
        ASSERT_EQ(built.exitCode, 0) << qPrintable(built.err);
        for (const char* format : {"stardict", "dictd"}) {
            const ProcessResult r =
                RunExport({QStringLiteral("--format"), QLatin1String(format), QStringLiteral("-d"),
                           dictionary, QStringLiteral("--name"), QStringLiteral("large"),
                           QStringLiteral("-o"), dir_->filePath(QLatin1String(format))});
            ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
        }
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!dir_)
            GTEST_SKIP() << "dict-vera, dict-foldoc and edict are not all installed";
    }

    static constexpr const char* kInputs[] = {"/usr/share/dictd/vera.index",
                                              "/usr/share/dictd/foldoc.index",
                                              "/usr/share/edict/edict", "/usr/share/edict/compdic"};
    static inline QTemporaryDir* dir_ = nullptr;
};

TEST_F(LargeDictionaryTest, StarDictFindsCpuByItsJapaneseTerms) {
    QString error;
    const StarDictFiles f = StarDictFiles::Read(dir_->filePath(QStringLiteral("stardict")),
                                                QStringLiteral("large"), &error);
    ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
    EXPECT_GT(f.idx.size(), 9000) << "one article for each abbreviation";
    EXPECT_EQ(f.ifo.value(QStringLiteral("bookname")), QStringLiteral("Tessarine 2000 large"));
    const QString description = f.ifo.value(QStringLiteral("description"));
    for (const char* source :
         {"V.E.R.A.", "Free On-line Dictionary of Computing", "EDICT", "CC BY-SA 4.0"})
        EXPECT_TRUE(description.contains(QLatin1String(source))) << source;

    SKIP_WITHOUT_TOOL(sdcv, "sdcv");
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& way : {QStringLiteral("cpu"), QStringLiteral("中央処理装置"),
                               QStringLiteral("ちゅうおうしょりそうち")}) {
        const ProcessResult r =
            RunProcess(sdcv,
                       {QStringLiteral("-n"), QStringLiteral("-x"), QStringLiteral("--utf8-input"),
                        QStringLiteral("--utf8-output"), QStringLiteral("--data-dir"),
                        dir_->filePath(QStringLiteral("stardict")), way},
                       env);
        EXPECT_TRUE(r.out.contains(QStringLiteral("Central Processing Unit")) &&
                    r.out.contains(QStringLiteral("<b>中央処理装置</b>（ちゅうおうしょりそうち）")))
            << qPrintable(way) << ": " << qPrintable(r.out.left(2000));
    }
}

TEST_F(LargeDictionaryTest, DictdServesTheTermsLineAndTheMatches) {
    SKIP_WITHOUT_TOOL(dictd, "dictd");
    SKIP_WITHOUT_TOOL(dict, "dict");
    DictdServer server;
    QString error;
    ASSERT_TRUE(server.Start(dictd, dir_->filePath(QStringLiteral("dictd")),
                             QStringLiteral("large"), &error))
        << qPrintable(error);
    const QStringList at{QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                         QStringLiteral("-p"), QString::number(server.Port()),
                         QStringLiteral("-d"), QStringLiteral("large")};
    const ProcessResult cpu =
        RunProcess(dict, at + QStringList{QStringLiteral("ちゅうおうしょりそうち")});
    EXPECT_TRUE(cpu.out.contains(QStringLiteral("中央処理装置（ちゅうおうしょりそうち）")))
        << qPrintable(cpu.out.left(2000)) << qPrintable(server.Log());
    const ProcessResult match =
        RunProcess(dict, at + QStringList{QStringLiteral("-m"), QStringLiteral("-s"),
                                          QStringLiteral("prefix"), QStringLiteral("tc")});
    EXPECT_TRUE(match.out.contains(QStringLiteral("tcp/ip"))) << qPrintable(match.out.left(2000));
}

} // namespace
