#pragma once

#include <QString>

namespace HyperText {

// The description as the entry view draws it: the spelled-out form as a heading (the
// abbreviation where the entry has no spelled-out form, as a term of its own has none), followed
// by the category's short name in brackets where the category has one, then the stored
// description.
QString EntryMarkup(const QString& abbr, const QString& letter, const QString& categoryShortName,
                    const QString& hyperText);

} // namespace HyperText
