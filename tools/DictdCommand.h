#pragma once

#include <QStringList>
#include <cstdio>

// tessarine-dictd -o OUTPUT INDEX...: builds a dictionary from the dictd databases of the acronym
// list and the computing encyclopaedia. Reports go to out, errors and progress to err. Returns
// the exit status: 0 on success, 1 when an input or the output fails, 2 on a usage error.
int RunDictd(const QStringList& arguments, std::FILE* out, std::FILE* err);
