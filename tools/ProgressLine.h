#pragma once

#include <QString>
#include <cstdio>

// A percentage shown on one terminal line and rewritten in place. Only drawn when the stream is
// a terminal: in a log or a pipe it would be noise.
class ProgressLine {
public:
    explicit ProgressLine(std::FILE* stream);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool Enabled() const { return enabled_; }
    // Redraws only when the label or the whole percentage changes.
    void Show(const QString& label, qint64 done, qint64 total);
    // Ends the line, so that what follows starts on a fresh one.
    void Finish();

private:
    std::FILE* stream_;
    bool enabled_;
    bool drawn_ = false;
    QString label_;
    int percent_ = -1;
    int width_ = 0;
};
