#include "app/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// A window made straight from QWidget (the history and full-text windows) is a window to readers;
// Qt would describe it as a mere client area, a "filler".
bool IsPlainWindow(const QString& className, QObject* object) {
    const QMetaObject* meta = object->metaObject();
    return meta->className() == className && meta->superClass() == &QWidget::staticMetaObject &&
           static_cast<QWidget*>(object)->isWindow();
}

class HiddenFromReaders : public QAccessibleWidget {
public:
    explicit HiddenFromReaders(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        s.focusable = false;
        s.defaultButton = false;
        return s;
    }
};

QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (IsPlainWindow(className, object))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("HiddenDefaultButton"))
        return new HiddenFromReaders(widget);
    return nullptr;
}

} // namespace

namespace WindowAccessibility {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(WindowFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace WindowAccessibility
