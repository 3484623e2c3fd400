#include "app/OpenProgressWindow.h"

#include "base/AppInfo.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

OpenProgressWindow::OpenProgressWindow(const QString& path, std::chrono::milliseconds delay)
    : path_(path), delay_(delay) {
    elapsed_.start();
}

OpenProgressWindow::~OpenProgressWindow() = default;

void OpenProgressWindow::Update(double fraction) {
    if (!window_ && elapsed_.elapsed() >= delay_.count()) {
        window_ = std::make_unique<QProgressDialog>();
        window_->setWindowTitle(AppInfo::ProductName());
        window_->setLabelText(
            QStringLiteral("辞書を読み込んでいます: %1").arg(QFileInfo(path_).fileName()));
        window_->setCancelButton(nullptr);
        window_->setRange(0, 100);
        window_->setMinimumDuration(0);
        window_->setAutoClose(false);
        window_->setAutoReset(false);
        window_->show();
    }
    if (window_) {
        window_->setValue(int(fraction * 100));
        // The reading blocks this thread: let the window paint between its reports.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
