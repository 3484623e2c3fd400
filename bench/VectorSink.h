#pragma once

#include "data/ListSink.h"

#include <QString>
#include <vector>

// A list that keeps its items in memory, standing in for the window's lists: the benchmarks
// pay for building every line as the program does, but for no widget.
class VectorSink : public ListSink {
public:
    struct Item {
        QString text;
        qint32 data;
    };
    void AddItem(const QString& text, qint32 itemData) override {
        items.push_back({text, itemData});
    }
    void Clear() override { items.clear(); }
    int Count() const override { return int(items.size()); }

    std::vector<Item> items;
};
