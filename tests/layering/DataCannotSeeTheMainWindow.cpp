// A data-layer file that reaches for the main window: this must not compile.
#include "app/frmMain.h"
#include "data/DbAccess.h"
