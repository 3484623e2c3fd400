#include "entryview/RelatedWordsList.h"

#include <QKeyEvent>

namespace {

bool ChoosesTheWord(const QKeyEvent* key) {
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
           key->key() == Qt::Key_Space;
}

} // namespace

RelatedWordsList::RelatedWordsList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, &RelatedWordsList::WordChosen);
}

bool RelatedWordsList::event(QEvent* event) {
    // Claimed before the window's keys see it, as a control keeps a key for itself.
    if (event->type() == QEvent::ShortcutOverride &&
        ChoosesTheWord(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QListWidget::event(event);
}

void RelatedWordsList::keyPressEvent(QKeyEvent* event) {
    if (!ChoosesTheWord(event)) {
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (currentRow() >= 0)
        emit WordChosen();
}
