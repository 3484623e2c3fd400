#pragma once

#include "data/SqliteHandles.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

// Dictionaries that users keep as Jet (Access) files, Jet 3, Jet 4 or ACE. The file is read
// once, at open, with libmdb and copied into an in-memory database in our own format, so that
// every query afterwards runs exactly as it does on our files.
//
// libmdb trusts the file it reads: a damaged file can make it crash, loop or write past its
// buffers. The reading therefore runs in a child process with a time limit; the program only
// ever sees either a complete copy or a failure.
namespace JetImport {

// The tables the dictionary reads; every column they have is copied.
inline const QStringList kDictionaryTables{QStringLiteral("CategoryTB"), QStringLiteral("AbbrTB"),
                                           QStringLiteral("LinkTB")};

// The child process that does the reading. Exposed so that its handling of crashes, hangs and
// runaway output can be tested directly.
namespace Isolation {

enum class Outcome { Finished, Failed, Crashed, TimedOut, TooMuchOutput, TooMuchWork };

struct Result {
    Outcome outcome = Outcome::Failed;
    QByteArray output;
};

// Runs in the child: writes its result to outputFd and returns whether it succeeded. It must
// use no Qt and take no lock that another thread of the parent might have held at fork time:
// plain system calls, libmdb and SQLite.
using ChildWork = std::function<bool(int outputFd)>;

// Told how far the child's watched work has come, 0 to 1.
using Progress = std::function<void(double)>;

// While it lives, the child's work is watched; when it goes, the watch ends and *done is read
// no more. Declare it after the owner of the counter (libmdb's handle, say), so that the
// counter outlives every check of it.
class WatchedWork {
public:
    WatchedWork() = default;
    ~WatchedWork();
    WatchedWork(const WatchedWork&) = delete;
    WatchedWork& operator=(const WatchedWork&) = delete;
};

// Called by the work in the child: from then on the child ends as TooMuchWork as soon as *done
// passes `budget`, checked every few milliseconds of its processor time, so that a loop inside
// a library is bounded by the work it does rather than by the clock. `expected` is what the
// work normally takes; the parent's progress is *done against it.
[[nodiscard]] WatchedWork WatchWork(const volatile unsigned long* done, unsigned long budget,
                                    unsigned long expected);
// The same check at once, for work that ends before the first one.
void CheckWork();

// Forks, runs work in the child and collects what it writes. The child is killed when it runs
// longer than timeLimit or writes more than maxOutput bytes (to its output or to any file).
// While it runs, `progress` hears about every 100 ms how far its watched work has come.
// The child is a copy of this process without its other threads: a lock one of them held at
// the fork (inside SQLite's allocator, say) stays taken there, and the child then runs into its
// time limit. The program reads its dictionary at start-up, before such threads exist.
Result Run(const ChildWork& work, std::chrono::milliseconds timeLimit, qint64 maxOutput,
           const Progress& progress = {});

} // namespace Isolation

// The names of the Jet file's own catalogue: its user tables in catalogue order and the
// columns of each in their order, spelled as the file spells them.
struct Catalogue {
    QStringList tables;
    QHash<QString, QStringList> columns; // by exact table name
};

struct Options {
    // How long the reading may take at most, as a last guard; zero: 5 s for every 64 MB of
    // the file begun. The work itself is bounded by maxPageReads.
    std::chrono::milliseconds timeLimit{0};
    // How many pages libmdb may read; zero: a generous multiple of the file's page count.
    unsigned long maxPageReads = 0;
    // Told about every 100 ms how far the reading has come, 0 to 1.
    Isolation::Progress progress;
};

struct ImportedDatabase {
    SqliteDb db; // null on failure
    std::shared_ptr<const Catalogue> catalogue;
    Isolation::Outcome outcome = Isolation::Outcome::Failed; // how the reading child ended
};

// True for the first bytes of a Jet or ACE database ("Standard Jet DB" / "Standard ACE DB").
bool HasJetSignature(const QByteArray& header);

// Copies the tables of the file whose names match one of tables (without regard to ASCII case,
// as Jet matches names) with all their columns into a new in-memory database: text and memo
// columns carry the dictionary's collation, a single-column integer primary key stays the
// table's key, and the dictionary's indexes are created where their columns exist. Tables the
// file does not have are left out. The file is locked against writers while it is read. The
// connection is read-only; its db is null when the file cannot be read completely.
ImportedDatabase ImportTables(const QString& path, const QStringList& tables,
                              const Options& options = {});

// Opens a Jet dictionary: imports kDictionaryTables and keeps the file open and locked against
// writers until the returned connection is closed. While the connection lives, CatalogueOf
// answers for it. Null when the file cannot be opened, is locked by a writer or cannot be read.
//
// The lock is a POSIX read lock over the whole file (fcntl) together with a shared flock. A
// program that takes the customary write lock before changing the file (fcntl F_WRLCK on any
// range, as Samba does for a Windows client's byte-range locks, or flock LOCK_EX) is refused
// while the dictionary is open, and the open itself is refused while such a lock is held.
// Locks on this system are advisory: they cannot stop a program that writes without locking,
// and replacing the file by renaming another over it is not writing to it. Neither can change
// what the program shows, which was copied at open. The fcntl lock also ends if this process
// closes any other descriptor of the same file; the flock, which belongs to our own descriptor,
// does not.
//
// `why`, when given, receives a few words on a failure.
SqliteDb OpenDictionaryCopy(const QString& path, const Options& options = {},
                            QString* why = nullptr);

// The Jet catalogue of a connection made by OpenDictionaryCopy or ImportTables, for as long as
// it is open; null for any other connection.
std::shared_ptr<const Catalogue> CatalogueOf(sqlite3* db);

} // namespace JetImport
