#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>

// tessarine-export --format stardict|dictd [-d DICTIONARY] [--name NAME] -o DIRECTORY [--force]
// `arguments` begin with the program's name; without -d the dictionary is the one installed with
// the program, found from `executableDir`. The summary goes to out; errors, and the progress on a
// terminal, to err. Returns the exit status: 0 when written, 1 when the export failed or was
// interrupted (nothing is written then), 2 for a wrong command line.
int RunExportCommand(const QStringList& arguments, const QString& executableDir, std::FILE* out,
                     std::FILE* err, const std::function<bool()>& interrupted = {});
