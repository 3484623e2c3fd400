// The install rules, run as a user or a packager runs them: into a prefix, and staged under
// DESTDIR; then the installed program started through its link in bin/.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString kId = QStringLiteral(TESSARINE_DESKTOP_ID);

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome Execute(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(120000)) {
        run.err = process.errorString();
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Outcome Install(const QString& prefix, const QString& destdir = QString()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (destdir.isEmpty())
        env.remove(QStringLiteral("DESTDIR"));
    else
        env.insert(QStringLiteral("DESTDIR"), destdir);
    return Execute(QStringLiteral(TESSARINE_CMAKE_COMMAND),
                   {QStringLiteral("--install"), QStringLiteral(TESSARINE_BUILD_DIR),
                    QStringLiteral("--prefix"), prefix},
                   env);
}

// Every file of the installed tree, relative to `root`, links as "name -> target".
QStringList TreeOf(const QString& root) {
    QStringList files;
    const QDir base(root);
    QList<QString> pending{root};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeFirst());
        for (const QFileInfo& info :
             dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
            const QString name = base.relativeFilePath(info.filePath());
            if (info.isSymLink())
                files << name + QStringLiteral(" -> ") + info.symLinkTarget();
            else if (info.isDir())
                pending << info.filePath();
            else
                files << name;
        }
    }
    files.sort();
    return files;
}

} // namespace

TEST(InstallTree, APrefixGetsTheProgramItsFilesAndTheDesktopParts) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const Outcome install = Install(prefix.path());
    ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();

    const QStringList tree = TreeOf(prefix.path());
    QStringList expected{
        QStringLiteral("bin/tessarine-dictd"),
        QStringLiteral("bin/tessarine-lookup"),
        QStringLiteral("bin/tessarine-export"),
        QStringLiteral("lib/tessarine/ABBR.MDB"),
        QStringLiteral("lib/tessarine/Abbr.hlp"),
        QStringLiteral("lib/tessarine/Abbr.qch"),
        QStringLiteral("lib/tessarine/tessarine"),
        QStringLiteral("share/applications/%1.desktop").arg(kId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kId),
        QStringLiteral("share/man/man1/tessarine.1.gz"),
        QStringLiteral("share/man/man1/tessarine-dictd.1.gz"),
        QStringLiteral("share/man/ja/man1/tessarine.1.gz"),
        QStringLiteral("share/man/ja/man1/tessarine-dictd.1.gz"),
        QStringLiteral("share/man/man1/tessarine-lookup.1.gz"),
        QStringLiteral("share/man/ja/man1/tessarine-lookup.1.gz"),
        QStringLiteral("share/bash-completion/completions/tessarine-lookup"),
        QStringLiteral("share/man/man1/tessarine-export.1.gz"),
        QStringLiteral("share/man/ja/man1/tessarine-export.1.gz"),
        QStringLiteral("share/doc/tessarine/copyright"),
        QStringLiteral("share/doc/tessarine/changelog.gz"),
    };
    for (int size : {16, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
    for (const QString& file : expected)
        EXPECT_TRUE(tree.contains(file)) << file.toStdString();

    // The command is a relative link, so that the tree can move or be staged elsewhere.
    const QFileInfo link(prefix.filePath(QStringLiteral("bin/tessarine")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()),
              prefix.filePath(QStringLiteral("lib/tessarine/tessarine")));
    EXPECT_TRUE(tree.contains(QStringLiteral("bin/tessarine -> ") +
                              prefix.filePath(QStringLiteral("lib/tessarine/tessarine"))));
    char target[256] = {};
    ASSERT_GT(::readlink(QFile::encodeName(link.filePath()).constData(), target, sizeof target - 1),
              0);
    EXPECT_STREQ(target, "../lib/tessarine/tessarine");

    for (const char* program : {"lib/tessarine/tessarine", "bin/tessarine-dictd",
                                "bin/tessarine-lookup", "bin/tessarine-export"})
        EXPECT_TRUE(QFileInfo(prefix.filePath(QLatin1String(program))).isExecutable()) << program;

    const Outcome version = Execute(link.filePath(), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("tessarine (Tessarine 2000) ")))
        << version.out.toStdString();
    const Outcome dictd =
        Execute(prefix.filePath(QStringLiteral("bin/tessarine-dictd")), {QStringLiteral("--help")});
    EXPECT_EQ(dictd.exitCode, 0) << dictd.err.toStdString();

    // The export in bin/ finds the installed dictionary without being told where it is.
    QTemporaryDir out;
    const Outcome exported = Execute(
        prefix.filePath(QStringLiteral("bin/tessarine-export")),
        {QStringLiteral("--format"), QStringLiteral("dictd"), QStringLiteral("-o"), out.path()});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out.filePath(QStringLiteral("tessarine.index"))));
}

TEST(InstallTree, TheLinkedProgramOpensTheDictionaryBesideItsRealFile) {
    QTemporaryDir prefix;
    QTemporaryDir runtime;
    ASSERT_TRUE(prefix.isValid() && runtime.isValid());
    ASSERT_EQ(Install(prefix.path()).exitCode, 0);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(runtime.path());
    program.start(prefix.filePath(QStringLiteral("bin/tessarine")), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    // The running copy names the dictionary it opened.
    const QByteArray expected =
        "tessarine-2000 ready " +
        QUrl::toPercentEncoding(prefix.filePath(QStringLiteral("lib/tessarine/ABBR.MDB")));
    QByteArray status;
    QElapsedTimer timer;
    timer.start();
    while (status != expected && timer.elapsed() < 30000 && !program.waitForFinished(50)) {
        QLocalSocket socket;
        socket.connectToServer(QDir(runtime.path()).filePath(QStringLiteral("tessarine-2000-_0")));
        if (!socket.waitForConnected(500))
            continue;
        socket.write("status\n");
        status.clear();
        while (!status.contains('\n') && socket.waitForReadyRead(2000))
            status += socket.readAll();
        status = status.trimmed();
    }
    program.kill();
    program.waitForFinished(5000);
    EXPECT_EQ(status, expected) << program.readAllStandardError().toStdString();
}

TEST(InstallTree, TheLookupCommandFindsTheInstalledDictionaryFromItsOwnPlace) {
    QTemporaryDir prefix;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(prefix.isValid() && elsewhere.isValid());
    ASSERT_EQ(Install(prefix.path()).exitCode, 0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CACHE_HOME"), elsewhere.path());
    // Started through a link in another folder, it still looks beside its real file.
    const QString link = elsewhere.filePath(QStringLiteral("lookup"));
    ASSERT_TRUE(QFile::link(prefix.filePath(QStringLiteral("bin/tessarine-lookup")), link));
    const Outcome lookup = Execute(link, {QStringLiteral("--list"), QStringLiteral("cpu")}, env);
    EXPECT_EQ(lookup.exitCode, 0) << lookup.err.toStdString();
    EXPECT_EQ(lookup.out, QStringLiteral("CPU\tCentral Processing Unit\n"));

    // Without the dictionary the message names the file it looked for.
    ASSERT_TRUE(QFile::remove(prefix.filePath(QStringLiteral("lib/tessarine/ABBR.MDB"))));
    const Outcome missing = Execute(link, {QStringLiteral("cpu")}, env);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.contains(prefix.filePath(QStringLiteral("bin/ABBR.MDB"))))
        << missing.err.toStdString();
}

TEST(InstallTree, DestdirStagesTheSameTreeUnderIt) {
    QTemporaryDir stage;
    ASSERT_TRUE(stage.isValid());
    const Outcome install = Install(QStringLiteral("/usr"), stage.path());
    ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();
    const QString root = stage.filePath(QStringLiteral("usr"));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/lib/tessarine/tessarine")).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/lib/tessarine/ABBR.MDB")));
    char target[256] = {};
    ASSERT_GT(::readlink(QFile::encodeName(root + QStringLiteral("/bin/tessarine")).constData(),
                         target, sizeof target - 1),
              0);
    EXPECT_STREQ(target, "../lib/tessarine/tessarine");
    const Outcome version =
        Execute(root + QStringLiteral("/bin/tessarine"), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
}
