#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken expectation ends the run like a crash, so that libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__,            \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The parts of an input that holds several texts or files, split at every `separator`. Seeds and
// mutations stay readable when the separator holds bytes that valid UTF-8 never does.
inline QList<QByteArray> SplitInput(const uint8_t* data, size_t size, QByteArrayView separator,
                                    qsizetype maxParts) {
    const QByteArray whole(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> parts;
    qsizetype start = 0;
    while (parts.size() + 1 < maxParts) {
        const qsizetype at = whole.indexOf(separator, start);
        if (at < 0)
            break;
        parts.append(whole.mid(start, at - start));
        start = at + separator.size();
    }
    parts.append(whole.mid(start));
    return parts;
}
