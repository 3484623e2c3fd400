#pragma once

#include <QByteArray>
#include <QHelpEngine>
#include <QString>
#include <QUrl>

#include <array>
#include <memory>

// What the program relies on in its help file: the topic numbers of its windows and
// menus, the page each number opens and the title the user sees there.
struct HelpTopic {
    int number;
    const char* page;
    const char* title;
};

inline constexpr std::array<HelpTopic, 13> kHelpTopics{{
    {1, "main-window.html", "メインウィンドウ"},
    {2, "abbreviation-field.html", "略語の入力欄"},
    {3, "spelled-out-field.html", "綴りの入力欄"},
    {4, "category-list.html", "種別の一覧"},
    {5, "related-words.html", "関連語の一覧"},
    {6, "description.html", "解説の表示"},
    {7, "result-list.html", "検索結果の一覧"},
    {8, "fulltext-window.html", "解説の全文検索"},
    {9, "text-abbreviations.html", "文中の略語"},
    {101, "menu-file.html", "「ﾌｧｲﾙ」メニュー"},
    {102, "menu-edit.html", "「編集」メニュー"},
    {103, "menu-go.html", "「移動」メニュー"},
    {104, "menu-help.html", "「ﾍﾙﾌﾟ」メニュー"},
}};

inline const QString kHelpNamespace = QStringLiteral("jp.tessarine.help");

inline QString builtCollectionPath() {
    return QStringLiteral(TESSARINE_BIN_DIR "/Abbr.hlp");
}

inline QString topicId(int number) {
    return QStringLiteral("topic-%1").arg(number);
}

inline QUrl pageUrl(const char* page) {
    return QUrl(QStringLiteral("qthelp://jp.tessarine.help/doc/") + QString::fromUtf8(page));
}

// The program opens its help read-only: the collection lies in the program's folder,
// which need not be writable.
inline std::unique_ptr<QHelpEngine> openHelp(const QString& collection) {
    auto engine = std::make_unique<QHelpEngine>(collection);
    engine->setReadOnly(true);
    return engine;
}

inline QString pageText(const QHelpEngineCore& engine, const QUrl& url) {
    return QString::fromUtf8(engine.fileData(url.adjusted(QUrl::RemoveFragment)));
}
