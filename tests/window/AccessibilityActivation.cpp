#include "ReadingFixtures.h"

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

void SetAccessibilityActive(bool active) {
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr) << "this platform has no accessibility";
    platform->setActive(active);
    ASSERT_EQ(QAccessible::isActive(), active);
}
