#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {
constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 10000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName() const {
    // One name per user, so users sharing a machine each run their own copy.
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QStringLiteral("tessarine-2000-%1").arg(user.isEmpty() ? QStringLiteral("user") : user);
}

bool SingleInstance::NotifyRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    // Wait for the running copy's answer, so this start ends only once it has been heard.
    socket.waitForReadyRead(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::BecomePrimary() {
    QLockFile lock(QDir::temp().filePath(ServerName() + QStringLiteral(".lock")));
    lock.setStaleLockTime(0); // only a dead owner makes the lock stale
    const bool locked = lock.tryLock(kLockTimeoutMs);

    if (NotifyRunningCopy())
        return false;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(ServerName())) {
        // A socket file left by a copy that died: nobody answers on it, so it can go.
        QLocalServer::removeServer(ServerName());
        server_->listen(ServerName());
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (client->readAll().contains(kActivate.trimmed()))
                    emit ActivationRequested();
                client->write("ok\n");
                client->flush();
                client->disconnectFromServer();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    if (locked)
        lock.unlock();
    return true;
}
