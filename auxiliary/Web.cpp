#include "auxiliary/Web.h"

#include <QDesktopServices>

namespace Web {
namespace {
UrlOpener& Opener() {
    static UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}
} // namespace

bool IsWebAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp");
}

bool OpenWebPage(QWidget*, const QString& address) {
    if (!IsWebAddress(address))
        return false;
    return Opener()(QUrl(address.trimmed(), QUrl::StrictMode));
}

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

} // namespace Web
