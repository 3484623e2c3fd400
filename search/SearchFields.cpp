// The search boxes select their text on focus; the result list's column stop.
#include "app/frmMain.h"
#include "search/ListTabStop.h"
#include "search/ResultListDelegate.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>

namespace {
void SelectAll(QLineEdit* box) {
    if (!box->text().isEmpty())
        box->setSelection(0, int(box->text().size()));
}
} // namespace

void frmMain::txtSearchKey_GotFocus() {
    if (txtSearchKey->hasFocus())
        SelectAll(txtSearchKey);
}

void frmMain::txtLetter_GotFocus() {
    if (txtLetter->hasFocus())
        SelectAll(txtLetter);
}

void frmMain::SelectTextBox() {
    txtSearchKey->setFocus(Qt::OtherFocusReason);
    SelectAll(txtSearchKey);
}

void frmMain::SetListTabStop(QListWidget* list) {
    // The horizontal dialog base unit is the average character width of the desktop's font;
    // the stop is 14 such characters, counted in quarter characters as dialog units are.
    QWidget* focused = QApplication::focusWidget();
    const int baseUnit =
        QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).averageCharWidth();
    const int stop = TabStopForBaseUnit(baseUnit);
    if (auto* delegate = qobject_cast<ResultListDelegate*>(list->itemDelegate())) {
        delegate->SetTabStop(stop, stop * baseUnit / 4);
        list->viewport()->update();
    }
    if (focused && QApplication::focusWidget() != focused)
        focused->setFocus(Qt::OtherFocusReason);
}
