#pragma once

#include "fulltext/IndexKey.h"

#include <QString>
#include <functional>
#include <sqlite3.h>

// Writes the full-text index of a dictionary (see IndexSchema.h) into an empty database.
namespace IndexBuilder {

struct Control {
    // Asked often, from the building thread; true stops the build.
    std::function<bool()> cancelled;
    // Told how far the build has come, 0 to 100, whenever that changes.
    std::function<void(int percent)> progress;
};

enum class Outcome { Built, Cancelled, Failed };

// Reads every entry of `dictionary` and writes the index into `index`, which must be empty and
// writable. On anything but Built the database holds nothing usable; error says why it failed.
Outcome Fill(sqlite3* index, sqlite3* dictionary, const IndexKey& key, const Control& control,
             QString* error = nullptr);

} // namespace IndexBuilder
