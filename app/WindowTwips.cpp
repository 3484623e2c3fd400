#include "app/WindowTwips.h"

#include "app/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace WindowTwips {
namespace {

int FramePixelsWide(const QWidget* window) {
    return window->frameGeometry().width() - window->width();
}
int FramePixelsHigh(const QWidget* window) {
    return window->frameGeometry().height() - window->height();
}
QRect ScreenArea(const QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

Frame OuterFrame(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    return {Twips::FromPixels(frame.left()), Twips::FromPixels(frame.top()),
            Twips::FromPixels(frame.width()), Twips::FromPixels(frame.height())};
}

qint32 FrameWidth(const QWidget* window) {
    return Twips::FromPixels(FramePixelsWide(window));
}
qint32 FrameHeight(const QWidget* window) {
    return Twips::FromPixels(FramePixelsHigh(window));
}

void SetOuterSize(QWidget* window, qint32 width, qint32 height) {
    window->resize(std::max(Twips::ToPixels(width) - FramePixelsWide(window), 1),
                   std::max(Twips::ToPixels(height) - FramePixelsHigh(window), 1));
}

void SetOuterMinimum(QWidget* window, qint32 width, qint32 height) {
    window->setMinimumSize(std::max(Twips::ToPixels(width) - FramePixelsWide(window), 0),
                           std::max(Twips::ToPixels(height) - FramePixelsHigh(window), 0));
}

void MoveOuter(QWidget* window, qint32 left, qint32 top) {
    window->move(Twips::ToPixels(left), Twips::ToPixels(top));
}

qint32 ScreenWidth(const QWidget* window) {
    return Twips::FromPixels(ScreenArea(window).width());
}
qint32 ScreenHeight(const QWidget* window) {
    return Twips::FromPixels(ScreenArea(window).height());
}

} // namespace WindowTwips
