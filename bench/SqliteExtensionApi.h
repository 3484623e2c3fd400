#pragma once

// Forced into the collation source when it is built as a loadable extension: every SQLite call
// then goes through the routines the loading program hands over, not a second copy of the
// library.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
