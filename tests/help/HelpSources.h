#pragma once

// The help and the other documents as written in the source tree, read before any tool merges
// or compresses them: a repeated keyword or a link to a missing anchor can be seen only here,
// since the engine answers a repeated name with one of its pages and never checks anchors.

#include <QList>
#include <QString>
#include <QStringList>

#include <string>

struct HelpKeyword {
    QString name;
    QString id;
    QString ref;
};

struct HelpContentsEntry {
    QString title;
    QString ref;
};

struct HelpProject {
    QList<HelpKeyword> keywords;
    QList<HelpContentsEntry> contents;
    QStringList files;
    QString error;
};

// The help project Abbr.qhp beside its pages.
HelpProject ReadHelpProject();
QString HelpPagePath(const QString& file);
QString ReadTextFile(const QString& path);

// What a reader sees of a page: its text without tags, with the entities written out.
QString VisibleText(const QString& html);
// The targets of a page's links and the anchors it offers (name= and id=).
QStringList LinkTargets(const QString& html);
QStringList Anchors(const QString& html);

// The tables of auxiliary/help/STYLE.md that tests hold the Japanese texts to.
struct StyleSheet {
    struct Term {
        QString avoid;
        QString use;
    };
    QList<Term> avoided;       // 使わない語
    QStringList quotedAsShown; // 画面のとおりに書く表示
    QStringList indexOnly;     // 索引だけに置く言い換え
};
StyleSheet ReadStyleSheet();

// The terms of the style sheet that `text` uses, once each, after the screen's own texts have
// been taken out. A term is not counted where it begins the word to use instead (コンピュータ in
// コンピューター).
QStringList AvoidedTermsIn(const StyleSheet& style, QString text);
// The terms found, for a readable failure: "カテゴリ 一つ".
inline std::string Found(const QStringList& terms) {
    return terms.join(u' ').toStdString();
}

QString SourcePath(const QString& relative);
