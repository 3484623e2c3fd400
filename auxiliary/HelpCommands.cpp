// The help commands: contents, keyword search and the topic of the control with the focus.
#include "base/AppInfo.h"
#include "base/MessageBox.h"
#include "app/frmMain.h"
#include "auxiliary/HelpViewer.h"

namespace {
// Opens (or reuses) the help window; a failure to start it at all is reported in a box.
HelpViewer* EnsureViewer(QPointer<HelpViewer>& viewer, const QString& file, const QString& title) {
    if (viewer)
        return viewer;
    try {
        viewer = new HelpViewer(file, title);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromLocal8Bit(e.what()), AppInfo::ApplicationTitle());
        return nullptr;
    }
    return viewer;
}

void Present(HelpViewer* viewer) {
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
} // namespace

void frmMain::mnuHelpContents_Click() {
    if (HelpViewer* viewer = EnsureViewer(helpViewer_, helpFilePath_, AppNameDef)) {
        viewer->ShowContents();
        Present(viewer);
    }
}

void frmMain::mnuHelpSearch_Click() {
    if (HelpViewer* viewer = EnsureViewer(helpViewer_, helpFilePath_, AppNameDef)) {
        viewer->ShowIndex(QString());
        Present(viewer);
    }
}

void frmMain::ShowHelpTopic(int topic) {
    if (HelpViewer* viewer = EnsureViewer(helpViewer_, helpFilePath_, AppNameDef)) {
        if (!viewer->ShowTopic(topic))
            viewer->ShowTopic(1);
        Present(viewer);
    }
}
