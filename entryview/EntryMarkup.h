#pragma once

#include <QString>

namespace HyperText {

// The description as the entry view draws it: the spelled-out form as a heading, followed by the
// category's short name in brackets where the category has one, then the stored description.
QString EntryMarkup(const QString& letter, const QString& categoryShortName,
                    const QString& hyperText);

} // namespace HyperText
