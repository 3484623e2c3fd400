#include "app/frmMain.h"

#include "app/Artwork.h"
#include "app/ListAdapters.h"
#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "app/WindowAccessibility.h"
#include "app/WindowActivation.h"
#include "base/AppInfo.h"
#include "base/MessageBox.h"
#include "commands/KeyPreview.h"
#include "data/DbAccess.h"
#include "entryview/DescriptionBox.h"
#include "entryview/RelatedWordsList.h"
#include "history/History.h"
#include "history/frmHistory.h"
#include "search/ResultListDelegate.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

namespace {

// Design size of the client area, used only for the first, centred placement.
constexpr qint32 kDesignClientWidth = 6225;
constexpr qint32 kDesignClientHeight = 5130;

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

void SetHelpTopic(QObject* object, HelpTopic topic) {
    object->setProperty(kHelpTopicProperty, int(topic));
}

// A control of the window with the name code finds it by, the name screen readers say, and the
// help topic F1 opens for it.
template <typename Control>
Control* MakeControl(QWidget* parent, const char* name, const char* accessibleName,
                     HelpTopic topic) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setAccessibleName(QString::fromUtf8(accessibleName));
    SetHelpTopic(control, topic);
    return control;
}

} // namespace

// The pictures live in a static library; its resources must be registered by name.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    WindowAccessibility::Install();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(Artwork::ApplicationIcon());
    SetHelpTopic(this, HelpTopic::Window);
    CreateMenus();
    CreateToolbar();
    CreateControls();
    ApplyTabOrder();
    InstallEventFilters();
    History::Store().SetNavigationCommands(this);
    History::Store().SetWindowHost(this);
}

frmMain::~frmMain() {
    Form_Unload();
    History::Store().SetNavigationCommands(nullptr);
    History::Store().SetWindowHost(nullptr);
}

void frmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);
    CreateStatusBar();
    CreateSearchFields(client);
    CreateFindButton();
    CreateLists(client);
    ConnectControls();
}

void frmMain::CreateStatusBar() {
    stbStatusBar = new QStatusBar(this);
    stbStatusBar->setObjectName(QStringLiteral("stbStatusBar"));
    stbStatusBar->setAccessibleName(QStringLiteral("ステータスバー"));
    stbStatusBar->setSizeGripEnabled(true);
    setStatusBar(stbStatusBar);
    statusPanels = new StatusPanels(stbStatusBar);
    statusPanels->setObjectName(QStringLiteral("statusPanels"));
    statusPanels->SetText(QStringLiteral("未検索"));
}

void frmMain::CreateSearchFields(QWidget* client) {
    txtSearchKey =
        MakeControl<QLineEdit>(client, "txtSearchKey", "略語", HelpTopic::AbbreviationField);
    txtSearchKey->setToolTip(QStringLiteral("検索する略語"));
    txtLetter = MakeControl<QLineEdit>(client, "txtLetter", "綴り", HelpTopic::SpelledOutField);
    txtLetter->setToolTip(QStringLiteral("検索する綴り"));
    cmbCategory = MakeControl<QComboBox>(client, "cmbCategory", "種別", HelpTopic::CategoryList);
    cmbCategory->setEditable(false);
    cmbCategory->setToolTip(QStringLiteral("検索するカテゴリ"));

    const char* captions[] = {"略語(&A)", "綴り(&L)", "種別(&C)"};
    QWidget* fields[] = {txtSearchKey, txtLetter, cmbCategory};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(Utf8(captions[i]), client);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setBuddy(fields[i]);
    }
}

// Hidden under the toolbar: it is there for Enter, which clicks it from any control.
void frmMain::CreateFindButton() {
    cmdFind = new HiddenDefaultButton(QStringLiteral("検索"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setFont(QApplication::font());
    cmdFind->setAccessibleName(QStringLiteral("検索"));
    cmdFind->setDefault(true);
    cmdFind->setFocusPolicy(Qt::NoFocus);
}

// The related words and the description side by side with their headers, the results below;
// the hidden caption that gives the result list its access key lies under the related words.
void frmMain::CreateLists(QWidget* client) {
    Label3 = new QLabel(QStringLiteral("検索結果(&R)"), client);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(QApplication::font());
    const char* headers[] = {"関連語", "解説"};
    for (int i = 0; i < 2; ++i) {
        Label2[i] = new QLabel(Utf8(headers[i]), client);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setFixedHeight(Twips::ToPixels(240));
    }
    lstLink = MakeControl<RelatedWordsList>(client, "lstLink", "関連語", HelpTopic::RelatedWords);
    pbxDescription =
        MakeControl<DescriptionBox>(client, "pbxDescription", "解説", HelpTopic::Description);
    lstDbList = MakeControl<QListWidget>(client, "lstDbList", "検索結果", HelpTopic::ResultList);
    lstDbList->setItemDelegate(new ResultListDelegate(lstDbList));
    Label3->setBuddy(lstDbList);
    Label3->lower();
    lstLink->raise();
}

void frmMain::ConnectControls() {
    connect(cmdFind, &QPushButton::clicked, this, &frmMain::cmdFind_Click);
    connect(lstDbList, &QListWidget::currentRowChanged, this, &frmMain::lstDbList_Click);
    // Choosing a related word rebuilds this very list; the list must first finish handling the
    // click or key that chose it, or it would go on to select a row of the rebuilt list.
    connect(lstLink, &RelatedWordsList::WordChosen, this, &frmMain::lstLink_Click,
            Qt::QueuedConnection);
    connect(pbxDescription, &DescriptionBox::LinkChosen, this, &frmMain::pbxDescription_LinkChosen);
    connect(pbxDescription, &DescriptionBox::PaletteChanged, this,
            [this] { DrawDescription(false); });
}

void frmMain::ApplyTabOrder() {
    // Labels take no focus; their access keys move it to their buddies.
    setTabOrder(txtSearchKey, txtLetter);
    setTabOrder(txtLetter, cmbCategory);
    setTabOrder(cmbCategory, lstDbList);
    setTabOrder(lstDbList, lstLink);
    setTabOrder(lstLink, pbxDescription);
}

void frmMain::InstallEventFilters() {
    keyPreview_ = new KeyPreview(*this);
    keyPreview_->Install();
    // The window's own handling of focus and clicks, on the controls it concerns.
    for (QWidget* control : {static_cast<QWidget*>(txtSearchKey), static_cast<QWidget*>(txtLetter),
                             static_cast<QWidget*>(lstDbList), centralWidget()})
        control->installEventFilter(this);
    for (QLabel* caption : findChildren<QLabel*>())
        caption->installEventFilter(this);
}

bool frmMain::Form_Load(const QString& applicationDir, const QString& dictionaryPath) {
    AppNameDef = AppInfo::ProductName();
    setWindowTitle(AppNameDef);

    const QString dir = AppInfo::ApplicationDirectory(applicationDir);
    helpFilePath_ = dir + QStringLiteral("Abbr.hlp");

    cmbCategory->addItem(QStringLiteral("全て"), 0);
    const bool startupFailed = !OpenDictionary(
        dictionaryPath.isEmpty() ? dir + QStringLiteral("ABBR.MDB") : dictionaryPath);
    cmbCategory->setCurrentIndex(0);
    CentreAtDesignSize();

    QString fontName = StartupFontName();
    qint16 fontSize = 9;

    History::Store().Reset();

    ApplyKeyHints();

    cmdFind->setGeometry(0, menuBar()->height(), std::min(cmdFind->sizeHint().width(), 40),
                         std::min(cmdFind->sizeHint().height(), tbrToolbar->sizeHint().height()));
    tbrToolbar->raise();
    for (QLabel* label : Label1)
        Place(label, Left(label), ToolbarHeight() + 64);

    SetCommandState(Commands::CommandState{}); // no entry yet, no history

    FontChange(fontName, fontSize);

    if (startupFailed) {
        close();
        return false;
    }
    show();
    // Texts handed over while the dictionary opened are looked up now.
    lookupsReady_ = true;
    QMetaObject::invokeMethod(this, &frmMain::LookUpPending, Qt::QueuedConnection);
    return true;
}

// Opens the dictionary and fills the category list; a dictionary that cannot be used is
// reported in a box, and the program then ends.
bool frmMain::OpenDictionary(const QString& path) {
    ComboBoxSink categories(cmbCategory);
    // Said after the handler that read the damage has finished, never in the middle of a read.
    dictionary_.SetDamageHandler([this] {
        QMetaObject::invokeMethod(this, &frmMain::ReportDamagedDictionary, Qt::QueuedConnection);
    });
    if (dictionary_.Open(path, categories) > 0)
        return true;
    ShowMessage(DbAccess::OpenFailureMessage(dictionary_.Failure()), AppNameDef, MessageButtons::Ok,
                MessageIcon::Critical);
    return false;
}

// A dictionary that turns out damaged while it is read: the user is told once which file it is,
// and the program goes on reading what it can.
void frmMain::ReportDamagedDictionary() {
    ShowMessage(QStringLiteral("辞書ファイルが壊れています\r\n") +
                    QDir::toNativeSeparators(dictionary_.Path()),
                AppNameDef, MessageButtons::Ok, MessageIcon::Warning);
}

// The first placement, before the font gives the window its real size (which keeps the top
// left corner).
void frmMain::CentreAtDesignSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const qint32 screenW = Twips::FromPixels(area.width());
    const qint32 screenH = Twips::FromPixels(area.height());
    const qint32 left = Twips::RoundEven(double(screenW - kDesignClientWidth)) / 2;
    const qint32 top = Twips::RoundEven(double(screenH - kDesignClientHeight)) / 2;
    resize(Twips::ToPixels(kDesignClientWidth), Twips::ToPixels(kDesignClientHeight));
    move(area.left() + Twips::ToPixels(left), area.top() + Twips::ToPixels(top));
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    suggestionFinder_.reset(); // its statements go before the connection
    dictionary_.Close();
    // Every other window of the program goes with the main window.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isWindow() && w->isVisible() && !qobject_cast<QMenu*>(w))
            w->close();
    }
    CloseHistoryWindow();
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::ActivateFromAnotherStart() {
    BringForward(QString());
}

void frmMain::BringForward(const QString& activationToken) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    WindowActivation::RequestActivation(windowHandle(), activationToken);
}

// Focus and clicks on the controls InstallEventFilters names: the search fields and the result
// list run their focus handlers, captions keep their clicks from the window's background, and a
// click on the background itself is the window's.
bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn) {
        if (watched == txtSearchKey)
            QMetaObject::invokeMethod(this, &frmMain::txtSearchKey_GotFocus, Qt::QueuedConnection);
        else if (watched == txtLetter)
            QMetaObject::invokeMethod(this, &frmMain::txtLetter_GotFocus, Qt::QueuedConnection);
        else if (watched == lstDbList)
            lstDbList_GotFocus();
        return false;
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease;
    if (press && qobject_cast<QLabel*>(watched))
        return true;
    if (type == QEvent::MouseButtonRelease && watched == centralWidget()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!centralWidget()->childAt(mouse->position().toPoint()))
            Form_MouseUp(mouse->button(), mouse->modifiers());
    }
    return false;
}

int frmMain::HelpTopicForFocus() const {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const int topic = w->property(kHelpTopicProperty).toInt();
        if (topic > 0)
            return topic;
        if (w == this)
            break;
    }
    return int(HelpTopic::Window);
}
