#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>

// The program's pictures. Every one is drawn as SVG, so that it is drawn afresh, sharp, at
// whatever device pixel ratio the screen has (1, 1.5, 2, ...).
namespace Artwork {

// The application's icon (the one the desktop's menu shows too).
QIcon ApplicationIcon();

// The toolbar picture for a button key ("Left", "Find", ...).
QIcon ToolbarIcon(const QString& key);

// The pointing hand shown over links: 32 by 32 device-independent pixels, drawn at `ratio`
// device pixels to each, with its hot spot at the tip of the index finger.
QCursor HandCursor(qreal ratio);

// The hand's hot spot in device-independent pixels.
inline constexpr int kHandHotX = 6;
inline constexpr int kHandHotY = 0;

} // namespace Artwork
