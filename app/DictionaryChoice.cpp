#include "app/DictionaryChoice.h"

#include "base/AppInfo.h"
#include "base/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace DictionaryChoice {
namespace {

QString Comparable(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QString Path(const QString& named, const QString& applicationDir) {
    if (named.isEmpty())
        return applicationDir + QStringLiteral("ABBR.MDB");
    // Absolute, so that the running copy's answer and its messages name the file wherever the
    // later start stands; links stay as given, so that the user recognises the name.
    return QFileInfo(named).absoluteFilePath();
}

bool SameFile(const QString& a, const QString& b) {
    return Comparable(a) == Comparable(b);
}

void ReportOtherCopy(const QString& running, const QString& wanted) {
    std::fprintf(stderr,
                 "tessarine: a running copy shows the dictionary %s; %s was not opened "
                 "(close the running copy first)\n",
                 qUtf8Printable(running), qUtf8Printable(wanted));
    ShowMessage(QStringLiteral("別の辞書を表示している %1 がすでに起動しています。\n"
                               "\n"
                               "起動中の辞書：%2\n"
                               "指定された辞書：%3\n"
                               "\n"
                               "指定された辞書を開くには、起動中の %1 を終了してから"
                               "もう一度起動してください。")
                    .arg(AppInfo::ProductName(), running, wanted),
                AppInfo::ProductName(), MessageButtons::Ok, MessageIcon::Critical);
}

} // namespace DictionaryChoice
