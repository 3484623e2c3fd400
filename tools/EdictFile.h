#pragma once

#include "tools/EdictEntry.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// One of the EDRDG's word lists in EDICT form: EUC-JP text with one entry a line. EDICT names
// itself in its first line ("？？？ /EDICT, ... /"); COMPDIC, the computing glossary, starts with
// its first entry. These are large word lists that the lists' own tools also read line by line:
// a line that is not an entry is counted and left out, and the rest is read.
class EdictFile {
public:
    enum class Kind { Edict, Compdic };

    // Lines left out, by reason, with the number of the first such line (from 1).
    struct Skipped {
        int notAnEntry = 0;
        int notEucJp = 0;
        int tooLong = 0;
        int firstNotAnEntry = 0;
        int firstNotEucJp = 0;
        int firstTooLong = 0;
    };

    // Longer lines are taken for damage: the longest real entry is under 2 000 bytes.
    static constexpr int kLongestLine = 16384;

    // Whether the file is in this form at all, judged by its first lines; a dictd index is not.
    static bool IsEdictForm(const QString& path);
    // Reads the whole file; on failure returns null and sets *error to a message naming the file.
    static std::unique_ptr<EdictFile> Open(const QString& path, QString* error);

    QString Path() const { return path_; }
    Kind FileKind() const { return kind_; }
    static QString KindName(Kind kind);

    using Progress = std::function<void(qint64 done, qint64 total)>;
    // Calls visit for every entry in file order and counts the lines left out.
    void Read(const std::function<void(const EdictEntry&)>& visit, const Progress& progress);
    const Skipped& SkippedLines() const { return skipped_; }

private:
    EdictFile() = default;

    QString path_;
    QByteArray bytes_;
    Kind kind_ = Kind::Compdic;
    Skipped skipped_;
};
