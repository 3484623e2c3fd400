#pragma once

#include "data/OpenProgress.h"

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <memory>

class QProgressDialog;

// A small window naming the dictionary being read, shown once reading has taken longer than
// `delay`: before the main window exists, nothing else tells the user the program is working.
class OpenProgressWindow : public OpenProgress {
public:
    explicit OpenProgressWindow(const QString& path,
                                std::chrono::milliseconds delay = std::chrono::milliseconds(500));
    ~OpenProgressWindow() override;

    void Update(double fraction) override;

    // The window, once shown; null before.
    QProgressDialog* Window() const { return window_.get(); }

private:
    QString path_;
    std::chrono::milliseconds delay_;
    QElapsedTimer elapsed_;
    std::unique_ptr<QProgressDialog> window_; // top-level: no parent window exists yet
};
