#pragma once

#include "base/MessageBox.h"
#include "data/DbAccess.h"
#include "data/DictionaryWriter.h"
#include "data/ListSink.h"

#include <QTemporaryDir>
#include <functional>

// A small dictionary in our format, written by `fill` into a temporary folder and opened as the
// program opens it, for the whole run of a fuzz target. Message boxes are answered unseen.
struct FuzzDictionary {
    QTemporaryDir dir;
    bool ok = false;

    explicit FuzzDictionary(const std::function<bool(DictionaryWriter&)>& fill) {
        DbAccess::DatabasePath = dir.filePath(QStringLiteral("ABBR.MDB"));
        DictionaryWriter writer(DbAccess::DatabasePath);
        ok = writer.Begin() && fill(writer) && writer.Finish();
        SetMessageHandler([](const MessageRequest&) { return MessageAnswer::Ok; });
        CountingSink categories;
        ok = ok && DbAccess::OpenDictionary(categories) > 0;
    }
};
