#include "tools/ProgressLine.h"

#include <unistd.h>

ProgressLine::ProgressLine(std::FILE* stream)
    : stream_(stream), enabled_(isatty(fileno(stream)) == 1) {}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::Show(const QString& label, qint64 done, qint64 total) {
    if (!enabled_)
        return;
    const int percent = total > 0 ? int(qBound(qint64(0), done * 100 / total, qint64(100))) : 100;
    if (percent == percent_ && label == label_)
        return;
    percent_ = percent;
    label_ = label;
    const QByteArray text = QStringLiteral("%1 %2%").arg(label).arg(percent, 3).toLocal8Bit();
    // Spaces wipe what is left of a longer previous line.
    const int pad = qMax(0, width_ - int(text.size()));
    std::fprintf(stream_, "\r%s%*s", text.constData(), pad, "");
    std::fflush(stream_);
    width_ = int(text.size());
    drawn_ = true;
}

void ProgressLine::Finish() {
    if (!drawn_)
        return;
    std::fputc('\n', stream_);
    std::fflush(stream_);
    drawn_ = false;
    percent_ = -1;
    label_.clear();
    width_ = 0;
}
