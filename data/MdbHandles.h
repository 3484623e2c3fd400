#pragma once

// glib first: mdbtools.h includes it inside extern "C", where its C++ parts do not compile.
#include <glib.h>

#include <mdbtools.h>
#include <memory>

// Owning handles for libmdb objects: a file handle, a table definition or a string that
// libmdb allocated is released however a routine leaves.
struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct MdbTableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
struct MdbStringFreer {
    void operator()(char* text) const { g_free(text); }
};

using MdbHandlePtr = std::unique_ptr<MdbHandle, MdbCloser>;
using MdbTablePtr = std::unique_ptr<MdbTableDef, MdbTableFreer>;
using MdbString = std::unique_ptr<char, MdbStringFreer>;
