#include "app/AppInfo.h"
#include "app/OpenProgressWindow.h"
#include "app/SingleInstance.h"
#include "app/WidgetMessageBox.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessarine"));
    SetMessageHandler(ShowWidgetMessageBox);
    SetOpenProgressFactory(
        [](const QString& path) { return std::make_unique<OpenProgressWindow>(path); });

    // A second start only brings the running copy forward: nothing is shown, nothing opened.
    // The copy tells later starts which dictionary it shows.
    const QString applicationDir = QApplication::applicationDirPath();
    SingleInstance instance(AppInfo::ApplicationDirectory(applicationDir) +
                            QStringLiteral("ABBR.MDB"));
    if (!instance.BecomePrimary())
        return 0;

    frmMain window;
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window,
                     &frmMain::ActivateFromAnotherStart);
    if (!window.Form_Load(applicationDir))
        return 1;
    instance.SetReady();
    return app.exec();
}
