#include "search/ClipboardWord.h"

#include <memory>
#include <unicode/utrans.h>

namespace ClipboardWord {
namespace {

struct TransliteratorCloser {
    void operator()(UTransliterator* t) const { utrans_close(t); }
};
using Transliterator = std::unique_ptr<UTransliterator, TransliteratorCloser>;

// ICU's transliterators must not be used by two threads at once: each thread gets its own (the
// full-text search folds its text with this one in a thread of its own).
UTransliterator* FullwidthToHalfwidth() {
    thread_local Transliterator transliterator = [] {
        static const UChar id[] = u"Fullwidth-Halfwidth";
        UErrorCode status = U_ZERO_ERROR;
        Transliterator t(utrans_openU(id, -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status));
        return U_SUCCESS(status) ? std::move(t) : Transliterator();
    }();
    return transliterator.get();
}

// The narrowed text is needed only up to the end of the first word: a huge clipboard is
// converted a piece at a time and the work stops there.
constexpr qsizetype kChunk = 4096;

bool IsWordCharacter(char16_t c) {
    return c >= 33 && c <= 126;
}

} // namespace

QString WideToNarrow(const QString& text) {
    UTransliterator* t = FullwidthToHalfwidth();
    if (!t || text.isEmpty())
        return text;
    QString buffer = text;
    int32_t length = int32_t(buffer.size());
    // Half-width katakana with voicing marks take two characters where the full-width took one.
    const int32_t capacity = length * 2 + 16;
    buffer.resize(capacity);
    int32_t limit = length;
    UErrorCode status = U_ZERO_ERROR;
    utrans_transUChars(t, reinterpret_cast<UChar*>(buffer.data()), &length, capacity, 0, &limit,
                       &status);
    if (U_FAILURE(status))
        return text;
    buffer.resize(length);
    return buffer;
}

QString FirstAsciiWord(const QString& clipboardText) {
    QString word;
    bool started = false;
    for (qsizetype start = 0; start < clipboardText.size(); start += kChunk) {
        qsizetype end = std::min(start + kChunk, clipboardText.size());
        // Never split a surrogate pair between two pieces.
        if (end < clipboardText.size() && clipboardText.at(end - 1).isHighSurrogate())
            ++end;
        const QString narrow = WideToNarrow(clipboardText.mid(start, end - start));
        for (const QChar c : narrow) {
            if (IsWordCharacter(c.unicode())) {
                word += c;
                started = true;
            } else if (started) {
                return word;
            }
        }
        start = end - kChunk; // the loop adds kChunk back
    }
    return word;
}

} // namespace ClipboardWord
