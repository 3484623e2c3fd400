#pragma once

#include <QtGlobal>

class QWidget;

// A top-level window's outer frame in twips. The window system sizes and places the client
// area, and knows the frame only once the native window exists; every window that works with
// outer sizes goes through these.
namespace WindowTwips {

struct Frame {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
};

Frame OuterFrame(const QWidget* window);
// What the frame adds to the client area.
qint32 FrameWidth(const QWidget* window);
qint32 FrameHeight(const QWidget* window);

// Sizes the client area so that the outer size is as given (never below one pixel).
void SetOuterSize(QWidget* window, qint32 width, qint32 height);
// Tells the window system the smallest outer size the user may drag the window to.
void SetOuterMinimum(QWidget* window, qint32 width, qint32 height);
void MoveOuter(QWidget* window, qint32 left, qint32 top);

// The size of the screen the window is on.
qint32 ScreenWidth(const QWidget* window);
qint32 ScreenHeight(const QWidget* window);

} // namespace WindowTwips
