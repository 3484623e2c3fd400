#include "app/frmMain.h"
#include "auxiliary/AboutBox.h"

void frmMain::mnuHelpAbout_Click() {
    // Created on each opening, shown modal, gone when closed.
    AboutBox box(this);
    box.exec();
}
