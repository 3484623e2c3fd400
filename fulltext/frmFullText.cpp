#include "fulltext/frmFullText.h"

#include "commands/WindowKeys.h"
#include "fulltext/ExcerptDelegate.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace {

enum Column { AbbrColumn, LetterColumn, ExcerptColumn };

// The time a search took, as precisely as it is worth reading: most take well under a second.
QString Duration(qint64 us) {
    if (us < 10000)
        return QStringLiteral("%1ミリ秒").arg(double(us) / 1000.0, 0, 'f', 1);
    if (us < 1000000)
        return QStringLiteral("%1ミリ秒").arg(us / 1000);
    return QStringLiteral("%1秒").arg(double(us) / 1e6, 0, 'f', 2);
}

} // namespace

frmFullText::frmFullText(FullTextWindowSetup setup, QWidget* owner)
    : QWidget(owner, Qt::Window), setup_(std::move(setup)) {
    // Closed, it is gone: the next opening starts afresh, and its search thread ends with it.
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmFullText"));
    setWindowTitle(QStringLiteral("解説の全文検索"));
    setWindowIcon(setup_.icon);
    setProperty("helpTopic", kHelpTopic);
    CreateControls();
    CreateCommands();

    if (setup_.keptService) {
        // Built in memory before and said so then: it is simply there.
        service_ = setup_.keptService;
        service_->setParent(this);
        ConnectService();
        indexReady_ = true;
        SetStatus(QStringLiteral("検索語を入力して Enter キーを押してください。"));
        return;
    }
    if (setup_.dictionary.replaced)
        ShowNotice(QStringLiteral("辞書ファイルは、開いた後で別のファイルに置き換えられています。"
                                  "索引は、いま表示している辞書から作ります。"));
    service_ = new FullTextService(setup_.dictionary, setup_.cacheDir, this);
    ConnectService();
    SetStatus(QStringLiteral("索引を開いています…"));
    service_->Start();
}

void frmFullText::closeEvent(QCloseEvent* event) {
    // An index in the cache opens again at once; one in memory would have to be built again, so
    // it outlives the window. A build under way ends with the window.
    if (service_ && service_->HoldsIndexInMemory() && setup_.keepService) {
        service_->CancelSearch();
        disconnect(service_, nullptr, this, nullptr);
        setup_.keepService(service_);
        service_ = nullptr;
    }
    QWidget::closeEvent(event);
}

void frmFullText::CreateControls() {
    Label1 = new QLabel(QStringLiteral("検索語(&S)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtQuery = new QLineEdit(this);
    txtQuery->setObjectName(QStringLiteral("txtQuery"));
    txtQuery->setAccessibleName(QStringLiteral("検索語"));
    txtQuery->setAccessibleDescription(
        QStringLiteral("解説・綴り・略語から探す語。空白で区切った語をすべて含む項目を探します"));
    txtQuery->setToolTip(QStringLiteral("解説から探す語（空白で区切ると、すべてを含む項目）"));
    Label1->setBuddy(txtQuery);
    txtQuery->installEventFilter(this);

    Label2 = new QLabel(QStringLiteral("検索結果(&R)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    lstResults = new QTreeWidget(this);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setAccessibleName(QStringLiteral("検索結果"));
    lstResults->setAccessibleDescription(
        QStringLiteral("Enter キーかダブルクリックで、選んだ項目をメインウィンドウに表示します"));
    lstResults->setRootIsDecorated(false);
    lstResults->setUniformRowHeights(true);
    lstResults->setAllColumnsShowFocus(true);
    lstResults->setHeaderLabels(
        {QStringLiteral("略語"), QStringLiteral("綴り"), QStringLiteral("解説")});
    lstResults->setItemDelegateForColumn(ExcerptColumn, new ExcerptDelegate(lstResults));
    lstResults->header()->setStretchLastSection(true);
    lstResults->setColumnWidth(AbbrColumn, 110);
    lstResults->setColumnWidth(LetterColumn, 200);
    lstResults->installEventFilter(this);
    Label2->setBuddy(lstResults);

    lblNotice = new QLabel(this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    // Read by its text, which changes; what it is goes in the description. A label with a name of
    // its own would be read by that name and announce no change of its text.
    lblNotice->setAccessibleDescription(QStringLiteral("お知らせ"));
    lblNotice->hide();

    stbStatus = new QStatusBar(this);
    stbStatus->setObjectName(QStringLiteral("stbStatus"));
    stbStatus->setAccessibleName(QStringLiteral("ステータスバー"));
    stbStatus->setSizeGripEnabled(false);
    lblStatus = new QLabel(stbStatus);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleDescription(QStringLiteral("検索の状況"));
    stbStatus->addWidget(lblStatus, 1);
    prgIndex = new QProgressBar(stbStatus);
    prgIndex->setObjectName(QStringLiteral("prgIndex"));
    prgIndex->setAccessibleName(QStringLiteral("索引の作成"));
    prgIndex->setRange(0, 100);
    prgIndex->setFormat(QStringLiteral("%p%"));
    prgIndex->setTextVisible(true);
    prgIndex->hide();
    stbStatus->addPermanentWidget(prgIndex);

    auto* queryRow = new QHBoxLayout;
    queryRow->addWidget(Label1);
    queryRow->addWidget(txtQuery, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(queryRow);
    layout->addWidget(lblNotice);
    layout->addWidget(Label2);
    layout->addWidget(lstResults, 1);
    layout->addWidget(stbStatus);
    setTabOrder(txtQuery, lstResults);
    resize(640, 400);

    connect(txtQuery, &QLineEdit::returnPressed, this, &frmFullText::txtQuery_Enter);
    connect(lstResults, &QTreeWidget::itemDoubleClicked, this, &frmFullText::lstResults_Choose);
}

void frmFullText::CreateCommands() {
    // The key that opens the window brings the focus back to its query.
    Commands::AddWindowKeys(this, setup_.showHelp, kHelpTopic,
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
                            [this] { FocusQuery(); });
}

void frmFullText::ConnectService() {
    connect(service_, &FullTextService::BuildProgress, this, [this](int percent) {
        indexReady_ = false;
        prgIndex->setValue(percent);
        prgIndex->show();
        SetStatus(QStringLiteral("索引を作成しています… %1%").arg(percent));
    });
    connect(service_, &FullTextService::Ready, this, [this](bool, bool inMemory) {
        indexReady_ = true;
        prgIndex->hide();
        if (inMemory)
            ShowNotice(QStringLiteral(
                "索引をキャッシュに保存できないため、メモリ上に作成しました。この索引は、"
                "プログラムを終了するまで使えます。"));
        if (search_ == 0)
            SetStatus(QStringLiteral("検索語を入力して Enter キーを押してください。"));
        else
            SetStatus(QStringLiteral("検索しています…"));
    });
    connect(service_, &FullTextService::Unavailable, this, [this](const QString& message) {
        prgIndex->hide();
        SetStatus(message);
    });
    connect(service_, &FullTextService::HitsFound, this,
            [this](quint64 search, const QList<FullTextHit>& hits) {
                if (search != search_)
                    return;
                if (hits.isEmpty()) // a retry after the index was rebuilt starts over
                    lstResults->clear();
                AppendHits(hits);
                SetStatus(
                    QStringLiteral("検索しています… %1件").arg(lstResults->topLevelItemCount()));
            });
    connect(service_, &FullTextService::SearchFinished, this,
            [this](quint64 search, int count, qint64 elapsedUs) {
                if (search != search_)
                    return;
                QString text =
                    QStringLiteral("検索結果 : %1件（%2）").arg(count).arg(Duration(elapsedUs));
                if (count >= FullTextLimits::kMaxResults)
                    text +=
                        QStringLiteral("　表示は %1 件までです").arg(FullTextLimits::kMaxResults);
                SetStatus(text);
            });
    connect(service_, &FullTextService::SearchRejected, this,
            [this](quint64 search, const QString& message) {
                if (search == search_)
                    SetStatus(message);
            });
}

// Notices add up: a replaced dictionary and an index in memory are both worth knowing.
void frmFullText::ShowNotice(const QString& text) {
    lblNotice->setText(lblNotice->text().isEmpty() ? text : lblNotice->text() + u'\n' + text);
    lblNotice->show();
}

void frmFullText::SetStatus(const QString& text) {
    lblStatus->setText(text);
}

void frmFullText::FocusQuery() {
    activateWindow();
    txtQuery->setFocus(Qt::ShortcutFocusReason);
    txtQuery->selectAll();
}

void frmFullText::SearchFor(const QString& query) {
    txtQuery->setText(query);
    txtQuery_Enter();
}

void frmFullText::txtQuery_Enter() {
    const QString query = txtQuery->text();
    if (query.trimmed().isEmpty() || !service_)
        return; // an empty query does nothing
    lstResults->clear();
    search_ = service_->Search(query);
    SetStatus(indexReady_ ? QStringLiteral("検索しています…")
                          : QStringLiteral("索引ができしだい検索します…"));
}

void frmFullText::AppendHits(const QList<FullTextHit>& hits) {
    const bool first = lstResults->topLevelItemCount() == 0;
    QList<QTreeWidgetItem*> items;
    items.reserve(hits.size());
    for (const FullTextHit& hit : hits) {
        auto* item = new QTreeWidgetItem({hit.abbr, hit.letter, hit.excerpt.text});
        item->setData(AbbrColumn, Qt::UserRole, hit.id);
        item->setData(ExcerptColumn, ExcerptDelegate::MatchStartRole, int(hit.excerpt.matchStart));
        item->setData(ExcerptColumn, ExcerptDelegate::MatchLengthRole,
                      int(hit.excerpt.matchLength));
        item->setToolTip(ExcerptColumn, hit.excerpt.text);
        items.append(item);
    }
    lstResults->addTopLevelItems(items);
    // The first result is where the keyboard starts; nothing is shown until it is chosen.
    if (first && lstResults->topLevelItemCount() > 0)
        lstResults->setCurrentItem(lstResults->topLevelItem(0), 0,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmFullText::lstResults_Choose() {
    QTreeWidgetItem* item = lstResults->currentItem();
    if (!item || !setup_.showEntry)
        return;
    setup_.showEntry(item->data(AbbrColumn, Qt::UserRole).toInt());
}

bool frmFullText::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == lstResults && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        lstResults_Choose();
        return true;
    }
    // Down from the query to the results, as from a search field to what it found.
    if (watched == txtQuery && key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier &&
        lstResults->topLevelItemCount() > 0) {
        lstResults->setCurrentItem(lstResults->topLevelItem(0), 0,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        lstResults->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
