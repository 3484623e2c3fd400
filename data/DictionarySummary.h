#pragma once

#include "data/DbAccess.h"

#include <QString>
#include <sqlite3.h>

// Which dictionary file a program of ours opens and how many entries it holds, for the version
// line and the About box. An installed dictionary is usually reached through links (the
// package's /usr/lib/tessarine/ABBR.MDB is managed by update-alternatives), so the file is named
// as it is at the end of them.
namespace DictionarySummary {

struct Summary {
    // The file with every link resolved; the path as given when it leads nowhere.
    QString file;
    // The rows of AbbrTB; -1 when the file cannot be read as a dictionary.
    qint64 entries = -1;
};

// Opens `path` read-only just to count its entries, and closes it again: a dictionary in our
// format directly, a Jet file through the isolated import. Never writes the file.
Summary Read(const QString& path);

// The dictionary the program holds open, counted over its own connection, so that the file named
// is the one opened even when a link has been changed since.
Summary Of(const DbAccess::Dictionary& dictionary);

// "Dictionary: FILE (N entries)", or why it cannot be used, for --version.
QString VersionLine(const Summary& summary);
// The same for the About box, in the window's language.
QString AboutLine(const Summary& summary);

} // namespace DictionarySummary
