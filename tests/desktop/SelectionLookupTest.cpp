// "tessarine --selection" on real desktops: an X server with a primary selection set by xclip,
// and a Wayland compositor (Weston, nested in the X server) with the clipboard set by wl-copy.
// The running copy is started first; what it shows is read as a screen reader reads it, through
// the accessibility bus, never through the window system's window names.
#include "AccessibleTree.h"
#include "TestDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Node = AccessibleTree::Node;

constexpr int kAppearMs = 30000;

QString Program() {
    return QStringLiteral(TESSARINE_BIN_DIR "/tessarine");
}

class SelectionLookupTest : public ::testing::Test {
protected:
    // Brings the desktop up, or says why the test cannot run here.
    QString StartDesktop(TestDesktop::Kind kind, const QStringList& tools) {
        for (const QString& tool : tools)
            if (!TestDesktop::Installed(tool))
                return tool + QStringLiteral(" is not installed");
        desktop_ = std::make_unique<TestDesktop>(kind);
        return desktop_->Problem();
    }

    // The running copy, started first, up and known to the accessibility bus.
    void StartRunningCopy() {
        copy_ = desktop_->Start(Program(), {});
        tree_ = std::make_unique<AccessibleTree>(desktop_->SessionBusAddress());
        ASSERT_TRUE(tree_->Problem().isEmpty()) << tree_->Problem().toStdString();
        application_ = tree_->Application(QStringLiteral("Tessarine"), kAppearMs);
        ASSERT_TRUE(application_.has_value())
            << "the running copy never appeared on the accessibility bus: "
            << copy_->readAllStandardError().toStdString();
        ASSERT_TRUE(Window([](const QString& name) {
                        return name.startsWith(QStringLiteral("Tessarine 2000"));
                    }).has_value());
    }

    // A window of the running copy, by its title.
    std::optional<Node> Window(const std::function<bool(const QString&)>& title,
                               int timeoutMs = kAppearMs) {
        return AccessibleTree::WaitFor(
            [&]() -> std::optional<Node> {
                for (const Node& window : tree_->Children(*application_))
                    if (title(tree_->Name(window)))
                        return window;
                return std::nullopt;
            },
            timeoutMs);
    }

    // Waits until the main window's caption reads `caption`; the caption it last had.
    QString WaitForCaption(const QString& caption) {
        QString last;
        Window([&](const QString& name) {
            if (name.startsWith(QStringLiteral("Tessarine 2000")))
                last = name;
            return name == caption;
        });
        return last;
    }

    // `tessarine --selection`, a later start that hands over and ends with status 0.
    void LookUpTheSelection() {
        QString errors;
        EXPECT_EQ(desktop_->Run(Program(), {QStringLiteral("--selection")}, &errors), 0)
            << errors.toStdString();
    }

    // Makes `text` the primary selection of the X desktop, as marking it in a program does.
    void SelectOnX11(const QString& text) {
        if (selection_)
            selection_->kill();
        selection_ = desktop_->Start(
            QStringLiteral("xclip"),
            {QStringLiteral("-selection"), QStringLiteral("primary"), QStringLiteral("-quiet")},
            text.toUtf8());
        ASSERT_EQ(Owned({QStringLiteral("xclip"), QStringLiteral("-o"),
                         QStringLiteral("-selection"), QStringLiteral("primary")},
                        text),
                  text);
    }

    // What the program `command` reads from the desktop, asked until it reads `expected`.
    QString Owned(const QStringList& command, const QString& expected) {
        QString owned;
        for (int i = 0; i < 50 && owned != expected; ++i) {
            QProcess* check = desktop_->Start(command.first(), command.mid(1));
            check->waitForFinished(5000);
            owned = QString::fromUtf8(check->readAllStandardOutput());
        }
        return owned;
    }

    std::unique_ptr<TestDesktop> desktop_;
    std::unique_ptr<AccessibleTree> tree_;
    std::optional<Node> application_;
    QProcess* copy_ = nullptr;
    QProcess* selection_ = nullptr;
};

TEST_F(SelectionLookupTest, X11PrimarySelection) {
    const QString problem = StartDesktop(TestDesktop::Kind::X11,
                                         {QStringLiteral("xclip"), QStringLiteral("dbus-daemon")});
    if (!problem.isEmpty())
        GTEST_SKIP() << "no X11 desktop for the test: " << problem.toStdString();
    ASSERT_NO_FATAL_FAILURE(StartRunningCopy());

    // One word, full-width: paste-and-search shows CPU.
    ASSERT_NO_FATAL_FAILURE(SelectOnX11(QStringLiteral("ＣＰＵ")));
    LookUpTheSelection();
    EXPECT_EQ(WaitForCaption(QStringLiteral("Tessarine 2000 - [CPU]")),
              QStringLiteral("Tessarine 2000 - [CPU]"));

    // A sentence: the window of its abbreviations lists CPU, RAM and PCI.
    ASSERT_NO_FATAL_FAILURE(SelectOnX11(QStringLiteral("The CPU talks to RAM over PCI.")));
    LookUpTheSelection();
    const std::optional<Node> window =
        Window([](const QString& name) { return name == QStringLiteral("文中の略語"); });
    ASSERT_TRUE(window.has_value()) << "the window 文中の略語 did not open";
    const std::optional<Node> list = tree_->Find(
        *window, [](const QString& name) { return name == QStringLiteral("見つかった略語"); });
    ASSERT_TRUE(list.has_value());
    const QStringList cells = tree_->Names(*list);
    for (const char* abbr : {"CPU", "RAM", "PCI"})
        EXPECT_TRUE(cells.contains(QLatin1String(abbr)))
            << abbr << ": " << cells.join(u'|').toStdString();
    EXPECT_FALSE(cells.contains(QStringLiteral("IT")));

    // Japanese only: the full-text window opens on that query.
    ASSERT_NO_FATAL_FAILURE(SelectOnX11(QStringLiteral("中央処理装置")));
    LookUpTheSelection();
    const std::optional<Node> fullText =
        Window([](const QString& name) { return name == QStringLiteral("解説の全文検索"); });
    ASSERT_TRUE(fullText.has_value()) << "the full-text window did not open";
    const std::optional<Node> query = tree_->Find(
        *fullText, [](const QString& name) { return name == QStringLiteral("検索語"); });
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(tree_->Text(*query), QStringLiteral("中央処理装置"));
}

TEST_F(SelectionLookupTest, WaylandClipboardWhereThereIsNoPrimarySelection) {
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    if (QDir(plugins + QStringLiteral("/platforms"))
            .entryList({QStringLiteral("libqwayland-*.so")})
            .isEmpty())
        GTEST_SKIP() << "Qt's Wayland platform (qt6-wayland) is not installed";
    const QString problem = StartDesktop(
        TestDesktop::Kind::Wayland,
        {QStringLiteral("weston"), QStringLiteral("wl-copy"), QStringLiteral("dbus-daemon")});
    if (!problem.isEmpty())
        GTEST_SKIP() << "no Wayland desktop for the test: " << problem.toStdString();
    ASSERT_NO_FATAL_FAILURE(StartRunningCopy());

    // Weston 10 has no primary selection: what was copied is looked up.
    desktop_->Start(QStringLiteral("wl-copy"),
                    {QStringLiteral("--foreground"), QStringLiteral("ＣＰＵ")});
    ASSERT_EQ(Owned({QStringLiteral("wl-paste"), QStringLiteral("--no-newline")},
                    QStringLiteral("ＣＰＵ")),
              QStringLiteral("ＣＰＵ"));
    // As a desktop starts the command bound to a key: with an activation token, which this
    // compositor does not check.
    desktop_->SetVariable(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                          QStringLiteral("token-of-the-key-press"));
    LookUpTheSelection();
    EXPECT_EQ(WaitForCaption(QStringLiteral("Tessarine 2000 - [CPU]")),
              QStringLiteral("Tessarine 2000 - [CPU]"));
}

} // namespace
