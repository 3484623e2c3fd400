#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The files of one export. Each is written under a temporary name in the output directory, and
// all are renamed into place together at the end: a failed or interrupted export leaves no
// partial dictionary, and an earlier export stays whole until the new one is complete.
class StagedFiles {
public:
    // Makes the directory if needed and checks it. `names` are the files to write, in the order
    // they are renamed into place (the one readers look for last); `stale` are files of an
    // earlier export that a reader would take alongside them (an uncompressed .dict, say), removed
    // when the new files are in place. Any of either already there is refused unless `force`.
    static std::unique_ptr<StagedFiles> Prepare(const QString& directory, const QStringList& names,
                                                const QStringList& stale, bool force,
                                                QString* error);
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // The temporary path that `name` (one of the names given) is written to.
    QString TempPath(const QString& name) const;
    // A further temporary file for work in progress, removed at the end in any case.
    QString ScratchPath(const QString& name);
    // Leaves `name` out of the export (a file that turned out to have nothing to hold).
    void Drop(const QString& name);
    QString FinalPath(const QString& name) const;

    // Renames every file into place; false with *error when one cannot be.
    bool Commit(QString* error);

private:
    StagedFiles() = default;
    QString NewTemporary(const QString& name, QString* error);

    QString directory_;
    struct Staged {
        QString name;
        QString temp;
        bool dropped = false;
    };
    std::vector<Staged> files_;
    QStringList stale_;
    QStringList scratch_;
};
