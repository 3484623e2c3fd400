#pragma once

#include "data/DbAccess.h"
#include "data/DictionaryWriter.h"
#include "data/ListSink.h"

#include <QTemporaryDir>
#include <functional>

// A small dictionary in our format, written by `fill` into a temporary folder and opened as the
// program opens it, for the whole run of a fuzz target.
struct FuzzDictionary {
    QTemporaryDir dir;
    DbAccess::Dictionary db;
    bool ok = false;

    explicit FuzzDictionary(const std::function<bool(DictionaryWriter&)>& fill) {
        const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
        DictionaryWriter writer(path);
        ok = writer.Begin() && fill(writer) && writer.Finish();
        CountingSink categories;
        ok = ok && db.Open(path, categories) > 0;
    }
};
