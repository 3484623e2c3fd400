#pragma once

#include "data/DbAccess.h"
#include "data/ListSink.h"

#include <QList>
#include <QString>
#include <optional>

// The dictionary as the command line uses it: opened as the window opens it, its categories, and
// the fields of an entry that the window shows.
namespace LookupDictionary {

struct Category {
    qint32 id = 0;
    QString name;
    QString shortName;
};

// The dictionary a run of the program reads, and its categories.
struct Opened {
    DbAccess::Dictionary db;
    QList<Category> categories;
};

// Opens the dictionary at path through the window's own data layer, a Jet file through the same
// isolated reader. On failure returns false with the window's message for that file in *message.
bool Open(const QString& path, Opened* opened, QString* message);

// The category that `name` means: its number, its name or its short name (letter case aside);
// 0 when no category has it.
qint32 ResolveCategory(const QList<Category>& categories, const QString& name);

// One line per category: number, TAB, name, TAB, short name.
QString CategoryLines(const QList<Category>& categories);

struct Entry {
    qint32 id = 0;
    QString abbr;
    std::optional<QString> letter; // none where the spelled-out form is null
    qint32 category = 0;
    QString description;
    std::optional<QString> url;       // none where there is no web address
    QList<StoringSink::Item> related; // word and the entry it leads to
};

// The entry with the identifier, or nothing when it cannot be read.
std::optional<Entry> ReadEntry(const DbAccess::Dictionary& db, qint32 id);

} // namespace LookupDictionary
