#include "DictdServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <unistd.h>

namespace {

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool Accepts(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    const bool connected = socket.waitForConnected(500);
    // dictd greets every client with a banner (code 220).
    const bool greeted =
        connected && socket.waitForReadyRead(2000) && socket.readLine().startsWith("220");
    socket.abort();
    return greeted;
}

// dictd gives up root for its own user (or nobody), which must still reach the files: the
// directories the test made on the way to them (temporary ones are the owner's only) are opened.
void OpenToAll(const QString& path) {
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOther | QFile::ExeOther |
                                    QFile::ReadGroup | QFile::ExeGroup);
}

void OpenPathToAll(const QString& dir) {
    OpenToAll(dir);
    for (QFileInfo info(QFileInfo(dir).path()); info.isDir() && !info.isRoot();
         info = QFileInfo(info.path())) {
        if ((info.permissions() & QFile::ExeOther) || info.ownerId() != ::getuid())
            break;
        OpenToAll(info.filePath());
    }
}

} // namespace

DictdServer::~DictdServer() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(5000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
}

bool DictdServer::Start(const QString& dictd, const QString& dir, const QString& name,
                        QString* error) {
    port_ = FreePort();
    if (port_ == 0 || !home_.isValid()) {
        *error = QStringLiteral("no free port or temporary directory");
        return false;
    }
    OpenToAll(home_.path());
    OpenPathToAll(dir);
    const QString base = QDir(dir).filePath(name);
    const QString config = home_.filePath(QStringLiteral("dictd.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(config, file.errorString());
        return false;
    }
    file.write(QStringLiteral("global {\n"
                              "  listen_to 127.0.0.1\n"
                              "  port %1\n"
                              "  pid_file \"%2/dictd.pid\"\n"
                              "}\n"
                              "database %3 {\n"
                              "  data \"%4.dict.dz\"\n"
                              "  index \"%4.index\"\n"
                              "}\n")
                   .arg(port_)
                   .arg(home_.path(), name, base)
                   .toUtf8());
    file.close();
    OpenToAll(config);
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // A UTF-8 database needs a UTF-8 locale to start; nodetach keeps dictd in the foreground.
    process_->start(dictd,
                    {QStringLiteral("-c"), config, QStringLiteral("-p"), QString::number(port_),
                     QStringLiteral("--locale"), QStringLiteral("C.UTF-8"), QStringLiteral("-d"),
                     QStringLiteral("nodetach"), QStringLiteral("--listen-to"),
                     QStringLiteral("127.0.0.1")});
    if (!process_->waitForStarted(5000)) {
        *error = QStringLiteral("dictd did not start: %1").arg(process_->errorString());
        return false;
    }
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(100)) {
        if (process_->state() == QProcess::NotRunning)
            break;
        if (Accepts(port_))
            return true;
    }
    *error = QStringLiteral("dictd did not answer on port %1: %2").arg(port_).arg(Log());
    return false;
}

QString DictdServer::Log() {
    return process_ ? QString::fromUtf8(process_->readAll()) : QString();
}
