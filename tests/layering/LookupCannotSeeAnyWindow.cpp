// A file of the command-line program that reaches for a widget: this must not compile, since the
// program loads no GUI library.
#include "lookup/LookupCommands.h"
#include <QWidget>
