#include "app/SingleInstance.h"
#include "app/WidgetMessageBox.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessarine"));
    SetMessageHandler(ShowWidgetMessageBox);

    // A second start only brings the running copy forward: nothing is shown, nothing opened.
    SingleInstance instance;
    if (!instance.BecomePrimary())
        return 0;

    frmMain window;
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window,
                     &frmMain::ActivateFromAnotherStart);
    if (!window.Form_Load(QApplication::applicationDirPath()))
        return 1;
    return app.exec();
}
