#include "app/QtOptions.h"

namespace QtOptions {
namespace {

struct QtOption {
    const char* name;
    const char* variable; // the environment variable that does the same; null where none does
};

// Qt's own options of QGuiApplication and QApplication, and X11's.
constexpr QtOption kOptions[] = {
    {"display", "DISPLAY"},
    {"platform", "QT_QPA_PLATFORM"},
    {"platformpluginpath", "QT_QPA_PLATFORM_PLUGIN_PATH"},
    {"platformtheme", "QT_QPA_PLATFORMTHEME"},
    {"plugin", "QT_QPA_GENERIC_PLUGINS"},
    {"style", "QT_STYLE_OVERRIDE"},
    {"stylesheet", nullptr},
    {"widgetcount", nullptr},
    {"reverse", nullptr},
    {"qmljsdebugger", nullptr},
    {"qwindowgeometry", nullptr},
    {"qwindowicon", nullptr},
    {"qwindowtitle", nullptr},
    {"geometry", nullptr},
    {"title", nullptr},
    {"session", nullptr},
    {"dialogs", nullptr},
    {"fontengine", nullptr},
    {"nograb", nullptr},
    {"dograb", nullptr},
    {"sync", nullptr},
    {"visual", nullptr},
    {"ncols", nullptr},
    {"cmap", nullptr},
};

} // namespace

QString Refusal(const QString& word) {
    // Qt takes its options with one dash or two, and a value after "=" or as the next word.
    const qsizetype dashes = word.startsWith(QLatin1String("--")) ? 2 : 1;
    if (!word.startsWith(QLatin1Char('-')) || word.size() <= dashes)
        return {};
    const QString name = word.mid(dashes).section(QLatin1Char('='), 0, 0);
    for (const QtOption& option : kOptions) {
        if (name != QLatin1String(option.name))
            continue;
        const QString given = QStringLiteral("'%1'").arg(word.left(dashes) + name);
        if (!option.variable)
            return QStringLiteral("%1 is an option of Qt's, which this program does not take")
                .arg(given);
        return QStringLiteral("%1 is an option of Qt's, which this program does not take; "
                              "set the environment variable %2 instead")
            .arg(given, QLatin1String(option.variable));
    }
    return {};
}

} // namespace QtOptions
