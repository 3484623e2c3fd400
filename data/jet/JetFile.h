// The Jet file held open and locked against writers, and an owning file descriptor.
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace JetImport {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// The Jet file, open read-only and locked against writers for as long as this object lives.
class LockedFile {
public:
    static std::optional<LockedFile> Open(const QString& path);

    const std::string& Name() const { return name_; }
    dev_t Device() const { return device_; }
    ino_t Inode() const { return inode_; }
    qint64 Size() const { return size_; }

private:
    LockedFile() = default;

    std::string name_;
    UniqueFd fd_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    qint64 size_ = 0;
};

} // namespace JetImport
