#pragma once

#include "base/MessageBox.h"

#include <QMessageBox>
#include <memory>

// Shows message boxes as dialogs of the desktop.
MessageAnswer ShowWidgetMessageBox(const MessageRequest& request);

// The dialog ShowWidgetMessageBox shows, kept within the screen: a text too tall for it is cut
// after the lines that fit, marked with "…", and keeps its last line (what the message says of
// the text above it, such as the copy's confirmation).
std::unique_ptr<QMessageBox> MakeWidgetMessageBox(const MessageRequest& request);
