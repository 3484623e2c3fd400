#pragma once

#include <QList>
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

// A list that only counts its items, for callers that need the rows read but not their text.
class CountingSink : public ListSink {
public:
    void AddItem(const QString&, qint32) override { ++count_; }
    void Clear() override { count_ = 0; }
    int Count() const override { return count_; }

private:
    int count_ = 0;
};

// A list that keeps its items in memory, for callers without a widget to show them in.
class StoringSink : public ListSink {
public:
    struct Item {
        QString text;
        qint32 data;
    };
    void AddItem(const QString& text, qint32 itemData) override { items.append({text, itemData}); }
    void Clear() override { items.clear(); }
    int Count() const override { return int(items.size()); }

    QList<Item> items;
};
