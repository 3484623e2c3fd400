#pragma once

#include <QString>
#include <gtest/gtest.h>
#include <ostream>

// Failures show texts as text, not as arrays of code units.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
