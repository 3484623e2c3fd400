#pragma once

#include <QString>

class QWindow;

// xdg-activation: a Wayland window comes forward only with a token the compositor issued,
// here the one the desktop gave the start that asked. Built where the Wayland protocol files are
// at hand (TESSARINE_XDG_ACTIVATION).
namespace WaylandActivation {

// Asks the compositor to activate `window` with `token`. False when this is no Wayland window or
// the compositor offers no xdg-activation.
bool Activate(QWindow* window, const QString& token);

} // namespace WaylandActivation
