#pragma once

#include <QString>

// The category, result and related-words lists are filled through this interface, so the data
// layer needs no widgets: the window's lists implement it, tests use plain containers.
class ListSink {
public:
    virtual ~ListSink() = default;
    virtual void AddItem(const QString& text, qint32 itemData) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;
};
