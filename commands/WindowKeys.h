#pragma once

#include <QKeySequence>
#include <functional>

class QWidget;

namespace Commands {

// The keys of a window of its own beside the main window: F1 opens its help topic (through
// showHelp, which may be empty), Esc closes it, and the key that opened it, pressed again there,
// brings the focus back to its main field. They are actions of that window, so that they work
// wherever its focus is and nowhere else.
void AddWindowKeys(QWidget* window, const std::function<void(int)>& showHelp, int helpTopic,
                   const QKeySequence& opening, const std::function<void()>& refocus);

} // namespace Commands
