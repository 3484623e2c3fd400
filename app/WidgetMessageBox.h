#pragma once

#include "base/MessageBox.h"

// Shows message boxes as dialogs of the desktop.
MessageAnswer ShowWidgetMessageBox(const MessageRequest& request);
