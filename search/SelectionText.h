#pragma once

#include <QString>

// The text the user has just marked on the desktop, as the clipboard seam of the window layer
// reads it.
namespace SelectionText {

// Whether this program can read the desktop's selection while none of its windows has the
// focus. An X11 program can; a Wayland compositor tells the selection only to the program that
// has the keyboard.
bool ReadableWithoutFocus();

// The text of the primary selection; where the desktop has none, or it is empty, the text of the
// clipboard. Empty when neither holds text.
QString Read();

} // namespace SelectionText
