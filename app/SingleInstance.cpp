#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A running copy answers from its own listener thread within milliseconds; a listener that stays
// silent this long is not a copy of this program.
constexpr int kAnswerTimeoutMs = 1000;
// Two starts hold the lock only for the moments of their hand-over.
constexpr int kLockTimeoutMs = 5000;
// A start writes its whole request at once; a connection that stops half-way is dropped.
constexpr int kStalledRequestMs = 5000;

void Report(const QString& text) {
    std::fprintf(stderr, "tessarine: %s\n", qUtf8Printable(text));
}

QByteArray Encode(const QString& text) {
    return QUrl::toPercentEncoding(text);
}

QString Decode(const QByteArray& bytes) {
    return QUrl::fromPercentEncoding(bytes);
}

} // namespace

SingleInstance::SingleInstance(const QString& identity, QObject* parent)
    : QObject(parent), identity_(identity) {
    qRegisterMetaType<HandOver::LookupRequest>();
}

SingleInstance::~SingleInstance() {
    if (listenerThread_) {
        listenerThread_->quit();
        listenerThread_->wait();
    }
}

QByteArray SingleInstance::Answer() const {
    return QByteArray(kAnswerTag) + (ready_ ? " ready " : " starting ") + Encode(identity_) + '\n';
}

SingleInstance::Knock SingleInstance::Ask(const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return Knock::NobodyThere;

    QString peer;
    if (!RuntimeDirectory::PeerIsThisUser(socket.socketDescriptor(), &peer)) {
        Report(QStringLiteral("ignoring %1 listening at %2").arg(peer, socketPath_));
        return Knock::Ignored;
    }
    socket.write(request);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kConnectTimeoutMs)) {
    }
    // Only a copy of this program answers, and it answers at once.
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < HandOver::kLongestLine &&
           socket.waitForReadyRead(kAnswerTimeoutMs))
        answer += socket.read(HandOver::kLongestLine);
    const QList<QByteArray> words = answer.trimmed().split(' ');
    if (words.size() < 2 || words[0] != kAnswerTag) {
        Report(QStringLiteral("ignoring a listener at %1 that does not answer as a copy of "
                              "this program")
                   .arg(socketPath_));
        return Knock::Ignored;
    }
    runningIdentity_ = words.size() > 2 ? Decode(words[2]) : QString();
    socket.disconnectFromServer();
    return Knock::Answered;
}

SingleInstance::Knock SingleInstance::KnockOnRunningCopy() {
    // A start that names its dictionary looks before it asks: a copy showing another dictionary
    // must not come forward as if it were the one asked for. The start-up lock is held between
    // the two requests, so no other copy can take the socket over in between; a copy that ends
    // meanwhile simply leaves nobody to answer the second.
    if (sameIdentity_) {
        const Knock status = Ask(HandOver::kStatusRequest);
        if (status != Knock::Answered)
            return status;
        if (!sameIdentity_(identity_, runningIdentity_))
            return Knock::Differs;
    }
    return Ask(lookup_ ? HandOver::Encode(*lookup_) : QByteArray(HandOver::kActivateRequest));
}

void SingleInstance::Serve(QLocalSocket* client) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    QString peer;
    if (!RuntimeDirectory::PeerIsThisUser(client->socketDescriptor(), &peer)) {
        client->abort();
        client->deleteLater();
        return;
    }
    auto reader = std::make_shared<HandOver::RequestReader>();
    QTimer::singleShot(kStalledRequestMs, client, [client, reader] {
        if (reader->Current() == HandOver::RequestReader::State::Incomplete)
            client->abort();
    });
    connect(client, &QLocalSocket::readyRead, client, [this, client, reader] {
        using State = HandOver::RequestReader::State;
        if (reader->Current() != State::Incomplete)
            return; // one request per connection
        switch (reader->Feed(client->readAll())) {
        case State::Incomplete:
            return;
        case State::Bad:
            client->abort();
            return;
        case State::Activate:
            emit ActivationRequested(); // queued to the window's thread
            break;
        case State::Lookup:
            emit LookupRequested(reader->Lookup());
            break;
        case State::Status:
            break;
        }
        client->write(Answer());
        client->flush();
        client->disconnectFromServer();
    });
}

bool SingleInstance::Listen() {
    // Anything at the socket's place is a leftover of this user (the folder is private): a dead
    // copy's socket, a silent or foreign listener, or a stray file.
    if (!RuntimeDirectory::ClearSocketPath(socketPath_)) {
        Report(
            QStringLiteral("cannot make a socket at %1; another copy may start").arg(socketPath_));
        return false;
    }

    listenerThread_ = new QThread(this);
    auto* context = new QObject;
    context->moveToThread(listenerThread_);
    connect(listenerThread_, &QThread::finished, context, &QObject::deleteLater);
    listenerThread_->start();

    bool listening = false;
    QMetaObject::invokeMethod(
        context,
        [this, context, &listening] {
            auto* server = new QLocalServer(context);
            server->setSocketOptions(QLocalServer::UserAccessOption);
            listening = server->listen(socketPath_);
            if (!listening) {
                Report(QStringLiteral("cannot listen at %1: %2")
                           .arg(socketPath_, server->errorString()));
                return;
            }
            connect(server, &QLocalServer::newConnection, context, [this, server] {
                while (QLocalSocket* client = server->nextPendingConnection())
                    Serve(client);
            });
        },
        Qt::BlockingQueuedConnection);
    return listening;
}

bool SingleInstance::BecomePrimary() {
    QString problem;
    const QString dir = RuntimeDirectory::PrivateDirectory(&problem);
    if (dir.isEmpty()) {
        Report(QStringLiteral("no private folder for the running copy's socket (%1); "
                              "another copy may start")
                   .arg(problem));
        return true;
    }
    const QString display = RuntimeDirectory::DisplayKey();
    socketPath_ = QDir(dir).filePath(QStringLiteral("tessarine-2000") +
                                     (display.isEmpty() ? QString() : QLatin1Char('-') + display));

    RuntimeDirectory::ExclusiveLock lock;
    if (!lock.Acquire(socketPath_ + QStringLiteral(".lock"), kLockTimeoutMs, &problem))
        Report(QStringLiteral("starting without the start-up lock: %1").arg(problem));

    switch (KnockOnRunningCopy()) {
    case Knock::Answered:
        return false;
    case Knock::Differs:
        runningCopyDiffers_ = true;
        return false;
    case Knock::NobodyThere:
    case Knock::Ignored:
        break;
    }
    Listen();
    return true;
}
