#pragma once

#include <QWidget>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;
class QLabel;

// The help window over the program's help collection: contents, keyword index, and topics
// opened by their numbers. A missing or unreadable help file is reported inside the window.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    HelpViewer(const QString& collectionFile, const QString& title);
    ~HelpViewer() override;

    bool IsUsable() const { return usable_; }
    QString ErrorText() const { return error_; }

    void ShowContents();
    void ShowIndex(const QString& keyword);
    // Opens the topic with the given number; false when the help has no such topic.
    bool ShowTopic(int topic);

    QString CurrentTopicTitle() const;
    QUrl CurrentUrl() const;
    QTabWidget* Tabs() const { return tabs_; }
    QHelpEngine* Engine() const { return engine_; }

private:
    void ShowError(const QString& text);
    void Open(const QUrl& url);

    QHelpEngine* engine_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QLabel* errorLabel_ = nullptr;
    bool usable_ = false;
    QString error_;
};
