#include "app/frmMain.h"

#include "app/Artwork.h"
#include "app/ListAdapters.h"
#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "base/AppInfo.h"
#include "data/DbAccess.h"
#include "entryview/DescriptionBox.h"
#include "history/History.h"
#include "history/frmHistory.h"
#include "search/ResultListDelegate.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
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

struct ToolbarButtonDef {
    ToolbarKey key;
    const char* tooltip; // null for a separator
    bool enabled;
};

// Left to right.
constexpr ToolbarButtonDef kToolbarButtons[] = {
    {ToolbarKey::Left, "戻る", false},           {ToolbarKey::Right, "進む", false},
    {ToolbarKey::Left, nullptr, false},          {ToolbarKey::Find, "検索", true},
    {ToolbarKey::Home, "ﾎｰﾑﾍﾟｰｼﾞを開く", false}, {ToolbarKey::Left, nullptr, false},
    {ToolbarKey::New, "検索項目の消去", true},   {ToolbarKey::Copy, "略語解説のｺﾋﾟｰ", false},
    {ToolbarKey::Paste, "貼り付け", true},       {ToolbarKey::PasteFind, "貼り付け検索", true},
    {ToolbarKey::Left, nullptr, false},          {ToolbarKey::Help, "説明", true},
};

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

void SetHelpTopic(QObject* object, HelpTopic topic) {
    object->setProperty(kHelpTopicProperty, int(topic));
}

} // namespace

// The pictures live in a static library; its resources must be registered by name.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(Artwork::ApplicationIcon());
    SetHelpTopic(this, HelpTopic::Window);
    CreateMenus();
    CreateToolbar();
    CreateControls();
    ApplyTabOrder();
    InstallKeyPreview();
    History::Store().SetNavigationCommands(this);
    History::Store().SetWindowHost(this);
}

frmMain::~frmMain() {
    Form_Unload();
    History::Store().SetNavigationCommands(nullptr);
    History::Store().SetWindowHost(nullptr);
}

void frmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setFont(QApplication::font()); // menus keep the desktop's font

    auto makeAction = [this](QMenu* menu, const char* name, const char* caption, HelpTopic topic) {
        auto* action = new QAction(Utf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        SetHelpTopic(action, topic);
        menu->addAction(action);
        return action;
    };

    mnuFile = bar->addMenu(Utf8("ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    SetHelpTopic(mnuFile, HelpTopic::FileMenu);
    mnuFileFind = makeAction(mnuFile, "mnuFileFind", "検索(&F)", HelpTopic::FileMenu);
    mnuFileFullText =
        makeAction(mnuFile, "mnuFileFullText", "解説の全文検索(&T)...", HelpTopic::FileMenu);
    mnuFileFullText->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    mnuFileWeb = makeAction(mnuFile, "mnuFileWeb", "ﾎｰﾑﾍﾟｰｼﾞ(&G)", HelpTopic::FileMenu);
    mnuFileWeb->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    mnuFileWeb->setEnabled(false);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileSP"));
    mnuFileExit = makeAction(mnuFile, "mnuFileExit", "終了(&X)", HelpTopic::FileMenu);

    mnuEdit = bar->addMenu(Utf8("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    SetHelpTopic(mnuEdit, HelpTopic::EditMenu);
    mnuEditCopy = makeAction(mnuEdit, "mnuEditCopy", "ｺﾋﾟｰ(&C)", HelpTopic::EditMenu);
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditCopy->setEnabled(false);
    mnuEditPaste = makeAction(mnuEdit, "mnuEditPaste", "貼り付け(&P)", HelpTopic::EditMenu);
    mnuEditPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditPasteSearch =
        makeAction(mnuEdit, "mnuEditPasteSearch", "貼り付け検索(&F)", HelpTopic::EditMenu);
    mnuEditPasteSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuEditDelete = makeAction(mnuEdit, "mnuEditDelete", "条件削除(&D)", HelpTopic::EditMenu);
    mnuEditDelete->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));

    mnuGo = bar->addMenu(Utf8("移動(&G)"));
    mnuGo->setObjectName(QStringLiteral("mnuGo"));
    SetHelpTopic(mnuGo, HelpTopic::GoMenu);
    const char* goCaptions[] = {"先頭に戻る(&T)", "前に戻る(&B)", "次に進む(&F)",
                                "最後に進む(&E)", nullptr,        "履歴(&H)"};
    for (int i = 0; i < GoItemCount; ++i) {
        const QString name = QStringLiteral("mnuGoItem%1").arg(i);
        if (!goCaptions[i]) {
            mnuGoItem[i] = mnuGo->addSeparator();
            mnuGoItem[i]->setObjectName(name);
            continue;
        }
        mnuGoItem[i] = makeAction(mnuGo, "", goCaptions[i], HelpTopic::GoMenu);
        mnuGoItem[i]->setObjectName(name);
        mnuGoItem[i]->setEnabled(i == GoHistoryWindow);
        connect(mnuGoItem[i], &QAction::triggered, this, [this, i] { mnuGoItem_Click(i); });
    }
    mnuGoItem[GoHistoryWindow]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuGoItem[GoHistoryWindow]->setCheckable(true);
    connect(mnuGo, &QMenu::aboutToShow, this, &frmMain::mnuGo_Click);

    mnuHelp = bar->addMenu(Utf8("ﾍﾙﾌﾟ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    SetHelpTopic(mnuHelp, HelpTopic::HelpMenu);
    mnuHelpContents = makeAction(mnuHelp, "mnuHelpContents", "目次(&C)", HelpTopic::HelpMenu);
    mnuHelpSearch = makeAction(mnuHelp, "mnuHelpSearch", "ﾄﾋﾟｯｸの検索(&S)", HelpTopic::HelpMenu);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuHelpSp"));
    mnuHelpAbout = makeAction(mnuHelp, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", HelpTopic::None);

    connect(mnuFileFind, &QAction::triggered, this, &frmMain::mnuFileFind_Click);
    connect(mnuFileFullText, &QAction::triggered, this, &frmMain::mnuFileFullText_Click);
    connect(mnuFileWeb, &QAction::triggered, this, &frmMain::mnuFileWeb_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmMain::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
    connect(mnuEditPasteSearch, &QAction::triggered, this, &frmMain::mnuEditPasteSearch_Click);
    connect(mnuEditDelete, &QAction::triggered, this, &frmMain::mnuEditDelete_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpSearch, &QAction::triggered, this, &frmMain::mnuHelpSearch_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::CreateToolbar() {
    tbrToolbar = new QToolBar(this);
    tbrToolbar->setObjectName(QStringLiteral("tbrToolbar"));
    tbrToolbar->setAccessibleName(QStringLiteral("ツールバー"));
    tbrToolbar->setFont(QApplication::font());
    tbrToolbar->setMovable(false);
    tbrToolbar->setFloatable(false);
    tbrToolbar->setIconSize(QSize(16, 16));
    tbrToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbrToolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, tbrToolbar);
    for (const ToolbarButtonDef& def : kToolbarButtons) {
        if (!def.tooltip) {
            tbrToolbar->addSeparator();
            continue;
        }
        const QString key = ToolbarKeyName(def.key);
        QAction* button = tbrToolbar->addAction(Artwork::ToolbarIcon(key), Utf8(def.tooltip));
        button->setObjectName(QStringLiteral("tbr") + key);
        button->setData(key);
        button->setToolTip(Utf8(def.tooltip));
        button->setEnabled(def.enabled);
        toolbarButtons_.insert(def.key, button);
        connect(button, &QAction::triggered, this,
                [this, button] { tbrToolbar_ButtonClick(button->data().toString()); });
    }
}

void frmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);

    stbStatusBar = new QStatusBar(this);
    stbStatusBar->setObjectName(QStringLiteral("stbStatusBar"));
    stbStatusBar->setAccessibleName(QStringLiteral("ステータスバー"));
    stbStatusBar->setSizeGripEnabled(true);
    setStatusBar(stbStatusBar);
    statusPanels = new StatusPanels(stbStatusBar);
    statusPanels->setObjectName(QStringLiteral("statusPanels"));
    statusPanels->SetText(QStringLiteral("未検索"));

    const char* captions[] = {"略語(&A)", "綴り(&L)", "種別(&C)"};
    const char* accessible[] = {"略語", "綴り", "種別"};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(Utf8(captions[i]), client);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    }
    txtSearchKey = new QLineEdit(client);
    txtSearchKey->setObjectName(QStringLiteral("txtSearchKey"));
    txtSearchKey->setToolTip(QStringLiteral("検索する略語"));
    SetHelpTopic(txtSearchKey, HelpTopic::AbbreviationField);
    txtLetter = new QLineEdit(client);
    txtLetter->setObjectName(QStringLiteral("txtLetter"));
    txtLetter->setToolTip(QStringLiteral("検索する綴り"));
    SetHelpTopic(txtLetter, HelpTopic::SpelledOutField);
    cmbCategory = new QComboBox(client);
    cmbCategory->setObjectName(QStringLiteral("cmbCategory"));
    cmbCategory->setEditable(false);
    cmbCategory->setToolTip(QStringLiteral("検索するカテゴリ"));
    SetHelpTopic(cmbCategory, HelpTopic::CategoryList);
    QWidget* fields[] = {txtSearchKey, txtLetter, cmbCategory};
    for (int i = 0; i < 3; ++i) {
        Label1[i]->setBuddy(fields[i]);
        fields[i]->setAccessibleName(Utf8(accessible[i]));
    }

    // Hidden under the toolbar: it is there for Enter, which clicks it from any control.
    cmdFind = new QPushButton(QStringLiteral("検索"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setFont(QApplication::font());
    cmdFind->setAccessibleName(QStringLiteral("検索"));
    cmdFind->setDefault(true);
    cmdFind->setFocusPolicy(Qt::NoFocus);
    connect(cmdFind, &QPushButton::clicked, this, &frmMain::cmdFind_Click);

    Label3 = new QLabel(QStringLiteral("検索結果(&R)"), client);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(QApplication::font());

    const char* headers[] = {"関連語", "解説"};
    for (int i = 0; i < 2; ++i) {
        Label2[i] = new QLabel(Utf8(headers[i]), client);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    }
    lstLink = new QListWidget(client);
    lstLink->setObjectName(QStringLiteral("lstLink"));
    lstLink->setAccessibleName(QStringLiteral("関連語"));
    SetHelpTopic(lstLink, HelpTopic::RelatedWords);
    pbxDescription = new DescriptionBox(client);
    pbxDescription->setObjectName(QStringLiteral("pbxDescription"));
    pbxDescription->setAccessibleName(QStringLiteral("解説"));
    SetHelpTopic(pbxDescription, HelpTopic::Description);
    lstDbList = new QListWidget(client);
    lstDbList->setObjectName(QStringLiteral("lstDbList"));
    lstDbList->setAccessibleName(QStringLiteral("検索結果"));
    lstDbList->setItemDelegate(new ResultListDelegate(lstDbList));
    SetHelpTopic(lstDbList, HelpTopic::ResultList);
    Label3->setBuddy(lstDbList);
    Label3->lower();
    lstLink->raise();

    Label2[0]->setFixedHeight(Twips::ToPixels(240));
    Label2[1]->setFixedHeight(Twips::ToPixels(240));

    connect(lstDbList, &QListWidget::currentRowChanged, this, &frmMain::lstDbList_Click);
    // Choosing a related word rebuilds this very list; the list must first finish handling the
    // click or key that chose it, or it would go on to select a row of the rebuilt list.
    connect(lstLink, &QListWidget::currentRowChanged, this, &frmMain::lstLink_Click,
            Qt::QueuedConnection);
    connect(pbxDescription, &DescriptionBox::MouseMoved, this, &frmMain::pbxDescription_MouseMove);
    connect(pbxDescription, &DescriptionBox::MouseReleased, this, &frmMain::pbxDescription_MouseUp);
    connect(pbxDescription, &DescriptionBox::LinkActivated, this,
            &frmMain::pbxDescription_LinkActivated);
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

void frmMain::InstallKeyPreview() {
    qApp->installEventFilter(this);
}

bool frmMain::Form_Load(const QString& applicationDir, const QString& dictionaryPath) {
    AppNameDef = AppInfo::ProductName();
    setWindowTitle(AppNameDef);

    const QString dir = AppInfo::ApplicationDirectory(applicationDir);
    DbAccess::DatabasePath =
        dictionaryPath.isEmpty() ? dir + QStringLiteral("ABBR.MDB") : dictionaryPath;
    helpFilePath_ = dir + QStringLiteral("Abbr.hlp");

    cmbCategory->addItem(QStringLiteral("全て"), 0);
    ComboBoxSink categories(cmbCategory);
    const bool startupFailed = DbAccess::OpenDictionary(categories) == 0;
    cmbCategory->setCurrentIndex(0);

    // Centre at the design size; the font gives the real size later and keeps the corner.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const qint32 screenW = Twips::FromPixels(area.width());
        const qint32 screenH = Twips::FromPixels(area.height());
        const qint32 left = Twips::RoundEven(double(screenW - kDesignClientWidth)) / 2;
        const qint32 top = Twips::RoundEven(double(screenH - kDesignClientHeight)) / 2;
        resize(Twips::ToPixels(kDesignClientWidth), Twips::ToPixels(kDesignClientHeight));
        move(area.left() + Twips::ToPixels(left), area.top() + Twips::ToPixels(top));
    }

    QString fontName = StartupFontName();
    qint16 fontSize = 9;

    History::Store().Reset();

    mnuFileFind->setText(mnuFileFind->text() + QStringLiteral("\tEnter"));
    mnuFileExit->setText(mnuFileExit->text() + QStringLiteral("\tAlt+F4"));
    mnuGoItem[GoFirst]->setText(mnuGoItem[GoFirst]->text() + QStringLiteral("\tAlt+↑"));
    mnuGoItem[GoLast]->setText(mnuGoItem[GoLast]->text() + QStringLiteral("\tAlt+↓"));
    mnuGoItem[GoBack]->setText(mnuGoItem[GoBack]->text() + QStringLiteral("\tAlt+←"));
    mnuGoItem[GoForward]->setText(mnuGoItem[GoForward]->text() + QStringLiteral("\tAlt+→"));

    cmdFind->setGeometry(0, menuBar()->height(), std::min(cmdFind->sizeHint().width(), 40),
                         std::min(cmdFind->sizeHint().height(), tbrToolbar->sizeHint().height()));
    tbrToolbar->raise();
    for (QLabel* label : Label1)
        Place(label, Left(label), ToolbarHeight() + 64);

    for (ToolbarKey key : {ToolbarKey::Left, ToolbarKey::Right, ToolbarKey::Home, ToolbarKey::Copy})
        ToolbarButton(key)->setEnabled(false);

    FontChange(fontName, fontSize);

    if (startupFailed) {
        close();
        return false;
    }
    show();
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    DbAccess::CloseDictionary();
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
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (QWindow* handle = windowHandle())
        handle->requestActivate();
}
