#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <string>

// How the full-text search compares text: full-width forms become the half-width ones that
// paste-and-search narrows them to (ICU's Fullwidth-Halfwidth: "ＣＰＵ" to "CPU", "データ" to
// "ﾃﾞｰﾀ"), then letters lose their case (Unicode simple case folding). The query and the
// indexed text are folded alike, so a term matches wherever its folded form occurs.
//
// The transliteration is asked of ICU once for every character and kept as a table, which makes
// folding a whole dictionary a matter of seconds.
namespace TextFold {

// The folded text. A lone surrogate is kept as it is.
QString Fold(QStringView text);
// The same; origin receives, for every unit of the result, the index in `text` of the unit it
// came from (a character that widens to two units gives both the same index).
QString Fold(QStringView text, QList<qsizetype>& origin);

// A digest of the whole folding as this build of the program and its ICU perform it. An index
// made under another folding would answer queries wrongly, so it is kept with the index.
QByteArray Signature();

// Characters that separate terms, in a query and in the indexed text: white space of any width
// and control characters (and, in the text, a lone surrogate, which no query can hold).
bool IsSeparator(char16_t unit);

// Appends the folded text to `out` as UTF-8, with every separator written as one line feed, so
// that no term can match across it. This is the text the index holds.
void AppendIndexText(QStringView text, std::string& out);

} // namespace TextFold
