// Opening the Jet file and taking its locks.
#include "data/jet/JetFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace JetImport {

std::optional<LockedFile> LockedFile::Open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK keeps a FIFO put in the file's place from blocking the open.
    UniqueFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    struct flock range {};
    range.l_type = F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 0; // to the end of the file, however far it grows
    // Refused while a writer holds its lock; a file system without locks is no reason not
    // to read the dictionary.
    if (::fcntl(fd.Get(), F_SETLK, &range) != 0 && (errno == EAGAIN || errno == EACCES))
        return std::nullopt;
    if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return std::nullopt;
    LockedFile file;
    file.name_ = std::string(name.constData(), size_t(name.size()));
    file.fd_ = std::move(fd);
    file.device_ = st.st_dev;
    file.inode_ = st.st_ino;
    file.size_ = st.st_size;
    return file;
}

} // namespace JetImport
