#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

// The three panels of the status bar: the status text, and the date and time, which keep
// themselves current.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar* bar);

    QLabel* Text() const { return text_; }
    QLabel* Date() const { return date_; }
    QLabel* Time() const { return time_; }
    void SetText(const QString& text);
    QString TextValue() const;
    // Re-applies the minimum widths after a change of font.
    void UpdateMinimumWidths();

private:
    void Tick();

    QLabel* text_;
    QLabel* date_;
    QLabel* time_;
    QTimer* timer_;
};
