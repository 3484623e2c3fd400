#pragma once

#include "data/DbAccess.h"

#include <QDialog>

class QLabel;
class QPushButton;
class frmMain;

// The version information box, laid out from the main window's display font and placed just
// below the main window's toolbar.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(frmMain* mainWindow);

    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblDictionary = nullptr; // the dictionary in use, below the copyright
    QPushButton* cmdOK = nullptr;

    // The separator line, in twips of the client area.
    QLine SeparatorTwips() const { return separator_; }
    // Client width and height in twips, as computed.
    qint32 ClientWidthTwips() const { return clientWidth_; }
    qint32 ClientHeightTwips() const { return clientHeight_; }

    static QString CommentsText();
    static QString VersionText();
    static QString CopyrightText();
    static QString CreditsText();
    static QString DictionaryText(const DbAccess::Dictionary& dictionary);

public slots:
    void cmdOK_Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load(frmMain* mainWindow);
    qint32 PlaceTexts(const QString& dictionaryText, qint32* right);
    qint32 PlaceOkButton(qint32 right, qint32 bottom);
    void PlaceBelowToolbar(frmMain* mainWindow);

    QLine separator_;
    qint32 clientWidth_ = 0;
    qint32 clientHeight_ = 0;
};
