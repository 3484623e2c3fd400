#pragma once

#include <QPushButton>

// How the program's own windows and controls present themselves to screen readers where Qt's
// defaults do not fit.
namespace WindowAccessibility {

// Installs the interfaces, once per run.
void Install();

} // namespace WindowAccessibility

// A default button that is there for Enter only, lying under the toolbar: readers are told it is
// not shown, so that it does not stand above the toolbar as a button of its own.
class HiddenDefaultButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
};
