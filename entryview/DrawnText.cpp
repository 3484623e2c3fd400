#include "entryview/DrawnText.h"

#include "entryview/HyperText.h"

namespace HyperText {

QString DrawnText(const QString& markup) {
    QString drawn;
    drawn.reserve(markup.size());
    const qsizetype n = markup.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = markup[i];
        if (c == u'\n') {
            drawn += u'\n';
            continue;
        }
        if (c.unicode() < 32)
            continue;
        if (c != u'\\') {
            drawn += c;
            continue;
        }
        if (++i >= n)
            break; // a backslash at the very end is dropped
        const QChar code = markup[i];
        if (code == u'\\') {
            drawn += code;
        } else if (code == u'f') {
            break;
        } else if (code == u'h' || code == u'F') {
            drawn += u'\n';
        } else if (code == u'J') {
            qsizetype position = i;
            ReadLinkNumber(markup, position, n);
            // With digits, the character after them is the separator, which is never drawn.
            if (position != i) {
                i = position;
                if (i + 1 < n && markup[i].isHighSurrogate() && markup[i + 1].isLowSurrogate())
                    ++i;
            }
        } else if (code.isHighSurrogate() && i + 1 < n && markup[i + 1].isLowSurrogate()) {
            ++i; // an unknown code that is one character of two units vanishes whole
        }
    }
    return drawn;
}

} // namespace HyperText
