#pragma once

#include "data/FileIdentity.h"
#include "data/ListSink.h"
#include "data/SqliteHandles.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <sqlite3.h>

class Recordset;

// The dictionary connection and every query the program sends to it.
namespace DbAccess {

inline constexpr int kResultListLimit = 500;
// The length of a description that is read, counted as the dictionary's original code page
// stores text (Strings::CodePageLength); the build tools cut to it as well.
inline constexpr int kDescriptionBytes = 4096;

// Why a dictionary cannot be used. The data layer only reports it; the window says so.
enum class OpenFailure {
    None,
    CannotOpen,     // missing, locked, unreadable, or in no format the program reads
    NotADictionary, // it opens, but has no category table
    NoCategories,   // its category table has no usable row
};

// What the window says of a dictionary that cannot be used, in the words users know.
QString OpenFailureMessage(OpenFailure failure);

// One entry as the dictionary stores it.
struct EntryRecord {
    QString abbr;
    QString letter;
    QString categoryShortName;  // empty where the entry's category has none
    QString hyperText;          // the description's markup, cut to kDescriptionBytes
    std::optional<QString> url; // none where the dictionary has no address column
};

// An open dictionary: one read-only connection, held so that no other program can change the
// file until it is closed, and what opening it found out about the file. The program opens one
// at start-up and hands it to the windows that read it; nothing here is global.
class Dictionary {
public:
    Dictionary();
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Opens the file at `path` (closing any earlier one) and appends one item per category to
    // `categoryList`. Returns the number of categories read; 0 means the dictionary is unusable,
    // and Failure() says why. A file that opened stays open even then, as after success.
    qint16 Open(const QString& path, ListSink& categoryList);
    void Close();

    OpenFailure Failure() const { return failure_; }
    // Why the last Open failed, in the words of the system, SQLite or libmdb ("no such file",
    // "file is not a database", ...); empty after a successful open. Closing keeps it, so that
    // it can still be told once the window that opened the file has gone.
    const QString& FailureDetail() const { return failureDetail_; }
    // The file last opened, as it was named.
    const QString& Path() const { return path_; }
    // The connection, or null.
    sqlite3* Db() const { return db_.get(); }
    // The file the connection read when it was opened, even if another has since been renamed
    // into its place.
    const FileIdentity& OpenedFile() const { return openedFile_; }
    // True when table AbbrTB has a column named exactly "URL".
    bool HasUrlField() const { return hasUrlField_; }
    // Element id is the short name of category id ("" where no category carries the id).
    const QStringList& CategoryShortNames() const { return categoryShortNames_; }

    // Reading keeps its rule that a failing read simply yields nothing; but when SQLite says the
    // file itself is damaged (corrupt, or not a database), that is worth telling the user once.
    // `onDamage` is called the first time a read of the open file finds it damaged.
    void SetDamageHandler(std::function<void()> onDamage) { onDamage_ = std::move(onDamage); }
    bool Damaged() const { return damaged_; }

    // Lists the entries the three search inputs find; the count listed, 0 when there is nothing
    // to search for.
    qint16 SearchEntries(const QString& key, const QString& letter, qint16 category,
                         ListSink& resultList) const;
    qint16 FillResultList(const QString& sql, ListSink& resultList) const;

    // The entry `id`; none when it cannot be read.
    std::optional<EntryRecord> GetEntry(qint32 id) const;
    // The entry as the clipboard gets it: abbreviation, spelled-out form, plain description and
    // address, each ended by CR LF; empty when it cannot be read.
    QString GetEntryCopyText(qint32 id) const;
    // Appends the related words of entry `id` in order of their words; returns their count.
    qint16 LoadLinkList(qint32 id, ListSink& linkList) const;

private:
    qint16 ReadCategories(ListSink& categoryList);
    std::optional<Recordset> OpenEntry(qint32 id) const;
    qint16 Fail(OpenFailure failure, const QString& detail);
    // A read of the open file; what SQLite said of a failing one is noted.
    std::optional<Recordset> Read(const QString& sql) const;
    void NoteReadResult(int sqliteCode) const;

    SqliteDb db_;
    QString path_;
    FileIdentity openedFile_;
    OpenFailure failure_ = OpenFailure::None;
    QString failureDetail_;
    bool hasUrlField_ = false;
    QStringList categoryShortNames_{QString()};
    std::function<void()> onDamage_;
    mutable bool damaged_ = false;
};

// Builds the query for the three search inputs, typed full-width or narrow; empty when there is
// nothing to search for.
QString BuildSearchSql(const QString& key, const QString& letter, qint16 category);

} // namespace DbAccess
