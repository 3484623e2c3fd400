#pragma once

#include <QListWidget>

// The related-words list. Showing a word rebuilds this very list, so moving through it must not
// show anything: the arrow keys only move the selection, and a click on a word, Enter or Space
// chooses the word selected. Enter is the list's own here, not the window's search key.
class RelatedWordsList : public QListWidget {
    Q_OBJECT
public:
    explicit RelatedWordsList(QWidget* parent = nullptr);

signals:
    // The user chose the selected word.
    void WordChosen();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
