#pragma once

#include <QString>
#include <cstdio>

// The program's standard output: UTF-8 text, styled only on a terminal that wants it, and a
// reader that goes away (`| head -1`) ends the writing quietly instead of with an error.
class LookupOutput {
public:
    // Styles are used when `stream` is a terminal, unless NO_COLOR is set or TERM is "dumb".
    explicit LookupOutput(std::FILE* stream);
    // For tests: styles as given.
    LookupOutput(std::FILE* stream, bool styled) : stream_(stream), styled_(styled) {}

    // Whether the text of a terminal with these settings is styled.
    static bool WantsStyles(bool isTerminal, const QByteArray& noColor, const QByteArray& term);

    // Writes text as it stands; after a failed write (the reader has gone) nothing more.
    void Write(const QString& text);
    // The reader has gone: the caller may stop producing output.
    bool Closed() const { return closed_; }

    // The abbreviation in bold and a reference underlined, on a styled output; else plain.
    QString Bold(const QString& text) const;
    QString Underlined(const QString& text) const;

private:
    std::FILE* stream_;
    bool styled_ = false;
    bool closed_ = false;
};

// Text from the dictionary or the input made safe for a line-oriented output: line ends become
// "\n" (or, with `oneLine`, a space, as do tabs), and other control characters, which could
// move a terminal's cursor or change its state, are dropped.
QString PrintableText(const QString& text, bool oneLine = false);
