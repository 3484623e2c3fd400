#pragma once

#include <QString>
#include <QtGlobal>

// What the single-copy rule needs of the operating system: a folder only this user can reach,
// a lock that dies with its holder, and the user behind the other end of a local socket.
namespace RuntimeDirectory {

// The user's private runtime folder: $XDG_RUNTIME_DIR when it is a directory of this user that
// nobody else may enter; otherwise "tessarine-UID" in the temporary folder, created private.
// Returns an empty string, with the reason in `problem`, when neither can be trusted.
QString PrivateDirectory(QString* problem);

// The display this start shows its window on, reduced to characters fit for a file name, so that
// a user's sessions on two displays each run their own copy. Empty without a display.
QString DisplayKey();

// True when the process at the other end of the connected local socket `descriptor` runs as this
// user. `peer` receives a description of that process for messages.
bool PeerIsThisUser(qintptr descriptor, QString* peer);

// Removes whatever occupies `path` inside the private folder, so that a socket can be made there:
// a file, a socket, a link or an empty directory. False when something stays.
bool ClearSocketPath(const QString& path);

// An exclusive advisory lock on a regular file, released when this object or its process dies.
// It never opens a FIFO, a device or a directory: those are refused at once.
class ExclusiveLock {
public:
    ExclusiveLock() = default;
    ~ExclusiveLock();
    Q_DISABLE_COPY_MOVE(ExclusiveLock)

    // Waits at most timeoutMs for the lock. False, with the reason in `problem`, when the path is
    // not a regular file or the lock stays taken.
    bool Acquire(const QString& path, int timeoutMs, QString* problem);
    void Release();

private:
    int descriptor_ = -1;
};

} // namespace RuntimeDirectory
