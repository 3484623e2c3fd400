// Entry point of the loadable extension that gives the sqlite3 shell the dictionary's
// collation and "like":  .load ./libtessarine_collation_ext
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "data/TextCollation.h"

// The shell derives this name from the file name (lib... and non-letters dropped).
extern "C" int sqlite3_tessarinecollationext_init(sqlite3* db, char** error,
                                                  const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = TextCollation::Register(db);
    if (rc != SQLITE_OK && error)
        *error = sqlite3_mprintf("cannot register the %s collation", TextCollation::kName);
    return rc;
}
