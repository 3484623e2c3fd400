// A history-store file that reaches for the history window: this must not compile.
#include "history/History.h"
#include "history/frmHistory.h"
