#include "auxiliary/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "data/SqliteHandles.h"

namespace {

// Qt's help engine is only handed files that are help collections: on an arbitrary file it
// leaves its database connections open while it tears them down, which can corrupt the heap.
// Read only, so a damaged file is never touched.
bool IsHelpCollection(const QString& path) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    SqliteDb db(raw);
    if (opened != SQLITE_OK)
        return false;
    sqlite3_stmt* rawStmt = nullptr;
    if (sqlite3_prepare_v2(db.get(),
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                           "('NamespaceTable', 'FileNameTable', 'ContentsTable')",
                           -1, &rawStmt, nullptr) != SQLITE_OK)
        return false;
    SqliteStmt stmt(rawStmt);
    return sqlite3_step(stmt.get()) == SQLITE_ROW && sqlite3_column_int(stmt.get(), 0) == 3;
}

// Shows pages straight out of the help collection.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
        setOpenExternalLinks(false);
        setOpenLinks(true);
    }
    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() == QLatin1String("qthelp"))
            return engine_->fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine* engine_;
};

} // namespace

HelpViewer::HelpViewer(const QString& collectionFile, const QString& title)
    : QWidget(nullptr, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(title + QStringLiteral(" ヘルプ"));
    resize(760, 520);

    auto* layout = new QVBoxLayout(this);
    errorLabel_ = new QLabel(this);
    errorLabel_->setObjectName(QStringLiteral("helpError"));
    errorLabel_->setWordWrap(true);
    errorLabel_->hide();
    layout->addWidget(errorLabel_);

    if (!QFileInfo(collectionFile).isFile()) {
        ShowError(QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(collectionFile));
        return;
    }
    const QString unreadable = QStringLiteral("ヘルプファイル %1 を読み込めません。%2");
    if (!IsHelpCollection(collectionFile)) {
        ShowError(unreadable.arg(collectionFile, QString()));
        return;
    }
    engine_ = new QHelpEngine(collectionFile, this);
    engine_->setReadOnly(true);
    if (!engine_->setupData() || engine_->registeredDocumentations().isEmpty()) {
        ShowError(unreadable.arg(collectionFile, engine_->error()));
        return;
    }
    // The collection lists its pages even when the compressed help beside it is gone.
    for (const QString& ns : engine_->registeredDocumentations()) {
        if (!QFileInfo::exists(engine_->documentationFileName(ns))) {
            ShowError(QStringLiteral("ヘルプファイル %1 が見つかりません。")
                          .arg(engine_->documentationFileName(ns)));
            return;
        }
    }

    auto* splitter = new QSplitter(this);
    tabs_ = new QTabWidget(splitter);
    tabs_->setObjectName(QStringLiteral("helpTabs"));
    QHelpContentWidget* contents = engine_->contentWidget();
    tabs_->addTab(contents, QStringLiteral("目次"));

    auto* indexPage = new QWidget(tabs_);
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* filter = new QLineEdit(indexPage);
    filter->setObjectName(QStringLiteral("helpIndexFilter"));
    filter->setPlaceholderText(QStringLiteral("キーワード"));
    QHelpIndexWidget* index = engine_->indexWidget();
    indexLayout->addWidget(filter);
    indexLayout->addWidget(index);
    tabs_->addTab(indexPage, QStringLiteral("キーワード"));

    browser_ = new HelpBrowser(engine_, splitter);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter);

    connect(filter, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpViewer::Open);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link) { Open(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links) {
                if (!links.isEmpty())
                    Open(links.first().url);
            });
    engine_->contentModel()->createContents(QString());
    engine_->indexModel()->createIndex(QString());
    usable_ = true;
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::ShowError(const QString& text) {
    error_ = text;
    errorLabel_->setText(text);
    errorLabel_->show();
}

void HelpViewer::Open(const QUrl& url) {
    if (browser_)
        browser_->setSource(url);
}

void HelpViewer::ShowContents() {
    if (!usable_)
        return;
    tabs_->setCurrentIndex(0);
    if (browser_->source().isEmpty())
        Open(QUrl(QStringLiteral("qthelp://jp.tessarine.help/doc/index.html")));
}

void HelpViewer::ShowIndex(const QString& keyword) {
    if (!usable_)
        return;
    tabs_->setCurrentIndex(1);
    if (auto* filter = findChild<QLineEdit*>(QStringLiteral("helpIndexFilter"))) {
        filter->setText(keyword);
        filter->setFocus();
    }
}

bool HelpViewer::ShowTopic(int topic) {
    if (!usable_)
        return false;
    const QList<QHelpLink> links =
        engine_->documentsForIdentifier(QStringLiteral("topic-%1").arg(topic));
    if (links.isEmpty())
        return false;
    Open(links.first().url);
    return true;
}

QString HelpViewer::CurrentTopicTitle() const {
    return browser_ ? browser_->documentTitle() : QString();
}

QUrl HelpViewer::CurrentUrl() const {
    return browser_ ? browser_->source() : QUrl();
}
