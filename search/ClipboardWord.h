#pragma once

#include <QString>

// Paste-and-search takes the first word of plain ASCII from the clipboard: full-width forms
// are first narrowed (full-width ASCII and the ideographic space to ASCII, full-width katakana
// to half-width), then everything up to the first character from "!" to "~" is skipped and the
// run of such characters that follows is the word.
namespace ClipboardWord {

QString WideToNarrow(const QString& text);
QString FirstAsciiWord(const QString& clipboardText);

} // namespace ClipboardWord
