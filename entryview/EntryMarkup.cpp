#include "entryview/EntryMarkup.h"

namespace HyperText {

QString EntryMarkup(const QString& abbr, const QString& letter, const QString& categoryShortName,
                    const QString& hyperText) {
    QString label;
    if (!categoryShortName.isEmpty())
        label = QLatin1String(" [") + categoryShortName + QLatin1Char(']');
    const QString heading = letter.isEmpty() ? abbr : letter;
    return QLatin1String("\\H") + heading + label + QLatin1String("\\h") + hyperText;
}

} // namespace HyperText
