// A data-layer file that reaches for the main window: this must not compile.
#include "data/DbAccess.h"
#include "app/frmMain.h"
