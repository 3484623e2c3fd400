#include "export/StagedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace {

// Over an existing file as well, in one step, wherever the platform allows it.
bool ReplaceFile(const QString& from, const QString& to, QString* error) {
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(),
                            QFile::encodeName(to).toStdString(), ec);
    if (ec)
        *error = QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(ec.message().c_str()));
    return !ec;
}

} // namespace

std::unique_ptr<StagedFiles> StagedFiles::Prepare(const QString& directory,
                                                  const QStringList& names,
                                                  const QStringList& stale, bool force,
                                                  QString* error) {
    const QFileInfo info(directory);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("%1 is not a directory").arg(directory);
        return nullptr;
    }
    if (!info.exists() && !QDir().mkpath(directory)) {
        *error = QStringLiteral("%1: cannot make the directory").arg(directory);
        return nullptr;
    }
    std::unique_ptr<StagedFiles> files(new StagedFiles);
    files->directory_ = QDir(directory).absolutePath();
    QStringList present;
    for (const QString& name : names + stale) {
        if (QFileInfo::exists(files->FinalPath(name)))
            present << name;
    }
    if (!present.isEmpty() && !force) {
        *error = QStringLiteral("%1 already holds %2; give --force to replace them")
                     .arg(directory, present.join(QLatin1String(", ")));
        return nullptr;
    }
    for (const QString& name : names) {
        const QString temp = files->NewTemporary(name, error);
        if (temp.isEmpty())
            return nullptr;
        files->files_.push_back({name, temp});
    }
    files->stale_ = stale;
    return files;
}

StagedFiles::~StagedFiles() {
    for (const Staged& file : files_) {
        if (!file.temp.isEmpty()) // renamed into place
            QFile::remove(file.temp);
    }
    for (const QString& path : scratch_)
        QFile::remove(path);
}

QString StagedFiles::NewTemporary(const QString& name, QString* error) {
    // Hidden, so that no reader scanning the directory takes it for a dictionary meanwhile.
    QTemporaryFile file(
        QDir(directory_).filePath(QLatin1Char('.') + name + QLatin1String(".XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open()) {
        *error = QStringLiteral("%1: cannot write into the directory: %2")
                     .arg(directory_, file.errorString());
        return {};
    }
    return file.fileName();
}

QString StagedFiles::TempPath(const QString& name) const {
    for (const Staged& file : files_) {
        if (file.name == name)
            return file.temp;
    }
    return {};
}

QString StagedFiles::ScratchPath(const QString& name) {
    QString error;
    const QString path = NewTemporary(name, &error);
    if (!path.isEmpty())
        scratch_ << path;
    return path;
}

void StagedFiles::Drop(const QString& name) {
    for (Staged& file : files_) {
        if (file.name == name)
            file.dropped = true;
    }
}

QString StagedFiles::FinalPath(const QString& name) const {
    return QDir(directory_).filePath(name);
}

bool StagedFiles::Commit(QString* error) {
    for (Staged& file : files_) {
        if (file.dropped) {
            QFile::remove(file.temp);
            QFile::remove(FinalPath(file.name)); // an earlier export's, which would not match
            continue;
        }
        // Temporary files are made readable by their owner only; the dictionary is for all.
        QFile::setPermissions(file.temp, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadOther);
        if (!ReplaceFile(file.temp, FinalPath(file.name), error))
            return false;
        file.temp.clear();
    }
    for (const QString& name : stale_)
        QFile::remove(FinalPath(name));
    return true;
}
