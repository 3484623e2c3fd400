#include "search/frmTextAbbreviations.h"

#include "commands/WindowKeys.h"
#include "search/LookupText.h"
#include "search/TextAbbreviations.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { WrittenColumn, AbbrColumn, LetterColumn, TermColumn };

} // namespace

frmTextAbbreviations::frmTextAbbreviations(TextAbbreviationsWindowSetup setup, QWidget* owner)
    : QWidget(owner, Qt::Window), setup_(std::move(setup)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmTextAbbreviations"));
    setWindowTitle(QStringLiteral("文中の略語"));
    setWindowIcon(setup_.icon);
    setProperty("helpTopic", kHelpTopic);
    CreateControls();
    CreateCommands();
    tmrRefresh_Timer();
}

void frmTextAbbreviations::CreateControls() {
    Label1 = new QLabel(QStringLiteral("文(&T)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtText = new QPlainTextEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setAccessibleName(QStringLiteral("文"));
    txtText->setAccessibleDescription(
        QStringLiteral("略語を探す文。書き換えると、少しあとで一覧が変わります"));
    txtText->setTabChangesFocus(true);
    Label1->setBuddy(txtText);

    Label2 = new QLabel(QStringLiteral("見つかった略語(&L)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    lstFound = new QTreeWidget(this);
    lstFound->setObjectName(QStringLiteral("lstFound"));
    lstFound->setAccessibleName(QStringLiteral("見つかった略語"));
    lstFound->setAccessibleDescription(QStringLiteral(
        "Enter キーかダブルクリックで、選んだ行の項目をメインウィンドウに表示します"));
    lstFound->setRootIsDecorated(false);
    lstFound->setUniformRowHeights(true);
    lstFound->setAllColumnsShowFocus(true);
    lstFound->setHeaderLabels({QStringLiteral("文中の語"), QStringLiteral("略語"),
                               QStringLiteral("綴り"), QStringLiteral("日本語")});
    lstFound->header()->setStretchLastSection(true);
    lstFound->setColumnWidth(WrittenColumn, 100);
    lstFound->setColumnWidth(AbbrColumn, 100);
    lstFound->setColumnWidth(LetterColumn, 260);
    Label2->setBuddy(lstFound);

    stbStatus = new QStatusBar(this);
    stbStatus->setObjectName(QStringLiteral("stbStatus"));
    stbStatus->setAccessibleName(QStringLiteral("ステータスバー"));
    stbStatus->setSizeGripEnabled(false);
    lblStatus = new QLabel(stbStatus);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(QStringLiteral("見つかった件数"));
    stbStatus->addWidget(lblStatus, 1);

    tmrRefresh = new QTimer(this);
    tmrRefresh->setObjectName(QStringLiteral("tmrRefresh"));
    tmrRefresh->setSingleShot(true);
    tmrRefresh->setInterval(kRefreshDelayMs);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(Label1);
    layout->addWidget(txtText, 1);
    layout->addWidget(Label2);
    layout->addWidget(lstFound, 2);
    layout->addWidget(stbStatus);
    setTabOrder(txtText, lstFound);
    resize(720, 480);

    connect(txtText, &QPlainTextEdit::textChanged, tmrRefresh, qOverload<>(&QTimer::start));
    connect(tmrRefresh, &QTimer::timeout, this, &frmTextAbbreviations::tmrRefresh_Timer);
    // Enter and a double click (a single click where the desktop activates so).
    connect(lstFound, &QTreeWidget::itemActivated, this, &frmTextAbbreviations::lstFound_Choose);
}

void frmTextAbbreviations::CreateCommands() {
    // The key that opens the window brings the focus back to its text.
    Commands::AddWindowKeys(this, setup_.showHelp, kHelpTopic, QKeySequence(Qt::CTRL | Qt::Key_T),
                            [this] { FocusText(); });
}

void frmTextAbbreviations::closeEvent(QCloseEvent* event) {
    // The dictionary may close right after the window: no look may follow.
    tmrRefresh->stop();
    QWidget::closeEvent(event);
}

void frmTextAbbreviations::SetText(const QString& text) {
    txtText->setPlainText(text);
    tmrRefresh_Timer();
}

void frmTextAbbreviations::FocusText() {
    activateWindow();
    txtText->setFocus(Qt::ShortcutFocusReason);
    txtText->selectAll();
}

void frmTextAbbreviations::FocusList() {
    activateWindow();
    lstFound->setFocus(Qt::OtherFocusReason);
}

void frmTextAbbreviations::tmrRefresh_Timer() {
    tmrRefresh->stop();
    bool cut = false;
    const QString text = LookupText::CutToLimit(txtText->toPlainText(), &cut);
    sqlite3* db = setup_.dictionary ? setup_.dictionary() : nullptr;
    const QList<TextAbbreviations::Found> found = TextAbbreviations::FindAll(db, text);

    // The row the reader stands on stays chosen while it is still found.
    const QTreeWidgetItem* current = lstFound->currentItem();
    const qint32 currentId = current ? current->data(AbbrColumn, Qt::UserRole).toInt() : 0;
    lstFound->clear();
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* keep = nullptr;
    for (const TextAbbreviations::Found& f : found) {
        auto* item = new QTreeWidgetItem({f.written, f.abbr, f.letter, f.japaneseTerm});
        item->setData(AbbrColumn, Qt::UserRole, f.id);
        item->setToolTip(LetterColumn, f.letter);
        if (f.id == currentId)
            keep = item;
        items.append(item);
    }
    lstFound->addTopLevelItems(items);
    if (!items.isEmpty())
        lstFound->setCurrentItem(keep ? keep : items.first(), 0,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    QString status = text.trimmed().isEmpty() ? QStringLiteral("文を入力するか、貼り付けてください")
                                              : QStringLiteral("略語 : %1件").arg(found.size());
    if (cut)
        status +=
            QStringLiteral("（先頭の %1 KiB だけを調べました）").arg(LookupText::kMostBytes / 1024);
    lblStatus->setText(status);
}

void frmTextAbbreviations::lstFound_Choose() {
    const QTreeWidgetItem* item = lstFound->currentItem();
    if (!item || !setup_.showEntry)
        return;
    setup_.showEntry(item->data(AbbrColumn, Qt::UserRole).toInt());
}
