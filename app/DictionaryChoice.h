#pragma once

#include <QString>

// Which dictionary a start opens, and how a later start that names another one than the running
// copy's is turned away.
namespace DictionaryChoice {

// The dictionary a start opens: `named` from the command line, made absolute against the current
// folder, or else ABBR.MDB in the application directory (which ends in a separator).
QString Path(const QString& named, const QString& applicationDir);

// True when both paths lead to the same file: compared with every link resolved where the file
// exists, and as cleaned absolute paths where it does not.
bool SameFile(const QString& a, const QString& b);

// Tells the user, on stderr and in a message box, that the running copy shows `running`, so
// `wanted` was not opened.
void ReportOtherCopy(const QString& running, const QString& wanted);

} // namespace DictionaryChoice
