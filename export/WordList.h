#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <vector>

// Index words with two numbers each (where an article lies, or which article a synonym leads
// to), held compactly: the words of a million entries take tens of megabytes, not hundreds.
class WordList {
public:
    struct Item {
        quint32 number; // in the order words were added, from 0
        quint32 start;  // in the word bytes
        quint32 length;
        quint32 first;
        quint32 second;
    };

    // False when the word bytes would outgrow 32-bit positions.
    bool Add(QByteArrayView word, quint32 first, quint32 second) {
        if (quint64(bytes_.size()) + quint64(word.size()) > 0xFFFFFFFFull)
            return false;
        items_.push_back(
            {quint32(items_.size()), quint32(bytes_.size()), quint32(word.size()), first, second});
        bytes_.append(word);
        return true;
    }

    QByteArrayView Word(const Item& item) const {
        return QByteArrayView(bytes_.constData() + item.start, item.length);
    }
    std::vector<Item>& Items() { return items_; }
    const std::vector<Item>& Items() const { return items_; }
    qsizetype Size() const { return qsizetype(items_.size()); }

    // Sorts by `compare` on the words (negative, zero, positive); equal words keep the order in
    // which they were added.
    template <typename Compare> void Sort(Compare compare) {
        std::sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) {
            const int c = compare(Word(a), Word(b));
            return c != 0 ? c < 0 : a.number < b.number;
        });
    }

private:
    QByteArray bytes_;
    std::vector<Item> items_;
};
