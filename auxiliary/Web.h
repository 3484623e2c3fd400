#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// The one place that hands a web address to the desktop.
namespace Web {

// Only addresses a browser opens are handed on: http, https and ftp with a host. Anything else
// stored in a dictionary (a program path, file: or javascript: addresses) could run or open
// something the user never meant to.
bool IsWebAddress(const QString& address);

// Asks the desktop to open the address; returns false when it was refused or not opened.
bool OpenWebPage(QWidget* owner, const QString& address);

// Tests replace the desktop's handler; returns the previous one.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

} // namespace Web
