#include "lookup/LookupOutput.h"

#include <unistd.h>

LookupOutput::LookupOutput(std::FILE* stream)
    : stream_(stream),
      styled_(WantsStyles(::isatty(::fileno(stream)) == 1, qgetenv("NO_COLOR"), qgetenv("TERM"))) {}

bool LookupOutput::WantsStyles(bool isTerminal, const QByteArray& noColor, const QByteArray& term) {
    // NO_COLOR asks for no styling when it is set to anything but the empty string.
    return isTerminal && noColor.isEmpty() && term != "dumb";
}

void LookupOutput::Write(const QString& text) {
    if (closed_ || text.isEmpty())
        return;
    const QByteArray utf8 = text.toUtf8();
    if (std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream_) != size_t(utf8.size()) ||
        std::fflush(stream_) != 0)
        closed_ = true;
}

QString LookupOutput::Bold(const QString& text) const {
    return styled_ ? QStringLiteral("\x1b[1m") + text + QStringLiteral("\x1b[22m") : text;
}

QString LookupOutput::Underlined(const QString& text) const {
    return styled_ ? QStringLiteral("\x1b[4m") + text + QStringLiteral("\x1b[24m") : text;
}

QString PrintableText(const QString& text, bool oneLine) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += oneLine ? u' ' : u'\n';
        } else if (c == u'\t') {
            out += oneLine ? u' ' : u'\t';
        } else if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
            out += QChar(c);
        }
    }
    return out;
}
