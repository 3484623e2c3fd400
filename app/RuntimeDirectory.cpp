// POSIX implementation; a port to another system replaces this file.
#include "app/RuntimeDirectory.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeDirectory {

namespace {

constexpr mode_t kPrivateMode = S_IRWXU;

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A directory that is this user's and that nobody else can enter or change. lstat, so that a
// symbolic link placed by someone else never counts.
bool IsPrivateDirectory(const QString& path, QString* problem) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        *problem = path + QStringLiteral(": ") + SystemError(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *problem = path + QStringLiteral(" is not a directory");
        return false;
    }
    if (st.st_uid != ::getuid()) {
        *problem = path + QStringLiteral(" belongs to another user");
        return false;
    }
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *problem = path + QStringLiteral(" can be reached by other users");
        return false;
    }
    return true;
}

} // namespace

QString PrivateDirectory(QString* problem) {
    QString ignored;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) &&
        IsPrivateDirectory(runtime, &ignored))
        return QDir::cleanPath(runtime);

    const QString own =
        QDir::temp().filePath(QStringLiteral("tessarine-%1").arg(qulonglong(::getuid())));
    // mkdir never follows a link or reuses what is there, and the mode is set at creation, so
    // there is no moment at which the new folder is open to others.
    if (::mkdir(QFile::encodeName(own).constData(), kPrivateMode) != 0 && errno != EEXIST) {
        *problem = own + QStringLiteral(": ") + SystemError(errno);
        return {};
    }
    if (!IsPrivateDirectory(own, problem))
        return {};
    return own;
}

QString DisplayKey() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    QString key;
    for (const QChar c : display) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
        key += plain ? c : QChar(u'_');
    }
    return key.left(64);
}

bool PeerIsThisUser(qintptr descriptor, QString* peer) {
#ifdef SO_PEERCRED
    struct ucred credentials {};
    socklen_t length = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) {
        *peer = QStringLiteral("unknown process (%1)").arg(SystemError(errno));
        return false;
    }
    *peer = QStringLiteral("process %1 of user %2").arg(credentials.pid).arg(credentials.uid);
    return credentials.uid == ::getuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(int(descriptor), &uid, &gid) != 0) {
        *peer = QStringLiteral("unknown process (%1)").arg(SystemError(errno));
        return false;
    }
    *peer = QStringLiteral("a process of user %1").arg(uid);
    return uid == ::getuid();
#endif
}

bool ClearSocketPath(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return errno == ENOENT;
    if (S_ISDIR(st.st_mode))
        return ::rmdir(native.constData()) == 0;
    return ::unlink(native.constData()) == 0;
}

ExclusiveLock::~ExclusiveLock() {
    Release();
}

bool ExclusiveLock::Acquire(const QString& path, int timeoutMs, QString* problem) {
    Release();
    // O_NONBLOCK keeps a FIFO from blocking the open; O_NOFOLLOW refuses a link.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        *problem = path + QStringLiteral(": ") + SystemError(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *problem = path + QStringLiteral(" is not a regular file");
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    // Starts hold the lock only for the few milliseconds of their hand-over, so polling is cheap.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *problem = path + QStringLiteral(": ") + SystemError(errno);
            ::close(fd);
            return false;
        }
        if (timer.elapsed() >= timeoutMs) {
            *problem = path + QStringLiteral(" stays locked");
            ::close(fd);
            return false;
        }
        QThread::msleep(10);
    }
    descriptor_ = fd;
    return true;
}

void ExclusiveLock::Release() {
    if (descriptor_ >= 0) {
        ::close(descriptor_); // closing drops the lock
        descriptor_ = -1;
    }
}

} // namespace RuntimeDirectory
