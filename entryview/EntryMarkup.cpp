#include "entryview/EntryMarkup.h"

namespace HyperText {

QString EntryMarkup(const QString& letter, const QString& categoryShortName,
                    const QString& hyperText) {
    QString label;
    if (!categoryShortName.isEmpty())
        label = QLatin1String(" [") + categoryShortName + QLatin1Char(']');
    return QLatin1String("\\H") + letter + label + QLatin1String("\\h") + hyperText;
}

} // namespace HyperText
