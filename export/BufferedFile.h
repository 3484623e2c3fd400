#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// A file written in large blocks, whose first failure is kept for the message.
class BufferedFile {
public:
    explicit BufferedFile(const QString& path) : file_(path) {}

    bool Open() {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return Failed();
        return true;
    }
    void Write(QByteArrayView bytes) {
        buffer_.append(bytes);
        size_ += bytes.size();
        if (buffer_.size() >= kBlock)
            Flush();
    }
    // Writes what is buffered and closes the file; false when any write failed.
    bool Close() {
        Flush();
        if (ok_ && !file_.flush())
            Failed();
        file_.close();
        return ok_;
    }
    qint64 Size() const { return size_; }
    QString ErrorText() const { return error_; }

private:
    static constexpr qsizetype kBlock = 1 << 20;

    void Flush() {
        if (ok_ && !buffer_.isEmpty() && file_.write(buffer_) != buffer_.size())
            Failed();
        buffer_.clear();
    }
    bool Failed() {
        if (ok_)
            error_ = QStringLiteral("%1: %2").arg(file_.fileName(), file_.errorString());
        ok_ = false;
        return false;
    }

    QFile file_;
    QByteArray buffer_;
    qint64 size_ = 0;
    bool ok_ = true;
    QString error_;
};
