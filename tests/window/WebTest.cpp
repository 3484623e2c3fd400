// Opening the entry's web page: the confirmation, the address handed on, and addresses refused.
#include "EntryFixtures.h"

#include "auxiliary/Web.h"

namespace {

const QString kTitle = QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞを開く");

class WebTest : public EntryWindowTest {
protected:
    void SetUp() override {
        dict_.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
        const std::pair<const char*, const char*> entries[] = {
            {"WWW", "https://www.example.com/path?q=1&r=2#top"},
            {"FTP", "ftp://ftp.example.org/pub/"},
            {"NONE", ""},
            {"FILE", "file:///etc/passwd"},
            {"JS", "javascript:alert(1)"},
            {"EXE", "C:\\Windows\\system32\\calc.exe"},
            {"PATH", "/usr/bin/xterm"},
            {"DATA", "data:text/html,<script>alert(1)</script>"},
            {"NOHOST", "http://"},
        };
        for (const auto& [abbr, url] : entries)
            ids_.insert(QString::fromLatin1(abbr),
                        dict_.AddEntry(QString::fromLatin1(abbr), QStringLiteral("letter"), 1,
                                       QString(), QString::fromLatin1(url)));
        dict_.Finish();
        ASSERT_TRUE(Start(dict_.Dir()));
        previous_ = Web::SetUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
    }
    void TearDown() override {
        Web::SetUrlOpener(previous_);
        EntryWindowTest::TearDown();
    }
    void ShowEntry(const char* abbr) { Show(ids_.value(QString::fromLatin1(abbr))); }

    TestDictionary dict_;
    QHash<QString, qint32> ids_;
    QList<QUrl> opened_;
    Web::UrlOpener previous_;
};

TEST_F(WebTest, ConfirmationThenOkOpensExactlyTheAddress) {
    ShowEntry("WWW");
    ASSERT_TRUE(C().mnuFileWeb->isEnabled());
    C().mnuFileWeb->trigger();
    ASSERT_EQ(messages_.boxes.size(), 1);
    const MessageRequest& box = messages_.boxes.first();
    EXPECT_EQ(box.text, QStringLiteral("ブラウザで次ぎの URL を開きます\r\n"
                                       "https://www.example.com/path?q=1&r=2#top"));
    EXPECT_EQ(box.title, kTitle);
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(box.icon, MessageIcon::None);
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_.first().toString(QUrl::FullyEncoded),
              QStringLiteral("https://www.example.com/path?q=1&r=2#top"));

    ShowEntry("FTP");
    W().tbrToolbar_ButtonClick(QStringLiteral("Home"));
    ASSERT_EQ(opened_.size(), 2);
    EXPECT_EQ(opened_.last(), QUrl(QStringLiteral("ftp://ftp.example.org/pub/")));
}

TEST_F(WebTest, CancelOpensNothing) {
    MessageRecorder cancel(MessageAnswer::Cancel);
    ShowEntry("WWW");
    W().mnuFileWeb_Click();
    ASSERT_EQ(cancel.boxes.size(), 1);
    EXPECT_EQ(cancel.boxes.first().buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(WebTest, EntryWithoutAddressShowsNoBox) {
    ShowEntry("NONE");
    EXPECT_FALSE(C().mnuFileWeb->isEnabled());
    W().mnuFileWeb_Click();
    EXPECT_TRUE(messages_.boxes.isEmpty());
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(WebTest, AddressesABrowserWouldNotOpenAreRefusedWithAWarning) {
    for (const char* abbr : {"FILE", "JS", "EXE", "PATH", "DATA", "NOHOST"}) {
        messages_.boxes.clear();
        ShowEntry(abbr);
        W().mnuFileWeb_Click();
        ASSERT_EQ(messages_.boxes.size(), 1) << abbr;
        const MessageRequest& box = messages_.boxes.first();
        EXPECT_EQ(box.icon, MessageIcon::Warning) << abbr;
        EXPECT_EQ(box.buttons, MessageButtons::Ok) << abbr;
        EXPECT_EQ(box.title, kTitle) << abbr;
        EXPECT_TRUE(box.text.contains(W().Current().CurrentUrl)) << abbr;
        EXPECT_FALSE(box.text.startsWith(QStringLiteral("ブラウザで次ぎの"))) << abbr;
    }
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(WebTest, OnlyAnAddressABrowserMayOpenEnablesTheWebPageCommands) {
    for (const char* abbr : {"FILE", "JS", "EXE", "PATH", "DATA", "NOHOST", "WWW", "FTP"}) {
        ShowEntry(abbr);
        const bool offered = QByteArray(abbr) == "WWW" || QByteArray(abbr) == "FTP";
        EXPECT_EQ(C().mnuFileWeb->isEnabled(), offered) << abbr;
        EXPECT_EQ(C().ToolbarButton("Home")->isEnabled(), offered) << abbr;
        EXPECT_TRUE(C().mnuEditCopy->isEnabled()) << abbr;
    }
}

TEST_F(WebTest, OpenWebPageRefusesWhatIsNotAWebAddress) {
    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm",
                                "C:\\x.exe", "data:,x", "mailto:a@example.com", ""}) {
        EXPECT_FALSE(Web::OpenWebPage(&W(), QString::fromLatin1(address))) << address;
    }
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_TRUE(Web::OpenWebPage(&W(), QStringLiteral("http://example.com/")));
    EXPECT_EQ(opened_, QList<QUrl>{QUrl(QStringLiteral("http://example.com/"))});
}

TEST(WebAddressTest, OnlyHttpHttpsAndFtpWithAHost) {
    for (const char* yes : {"http://example.com", "https://example.com/a/b?c=d#e",
                            "ftp://ftp.example.org/pub/file.txt", "HTTP://EXAMPLE.COM/",
                            "https://user@example.com:8443/", "  https://padded.example/  ",
                            "http://192.0.2.1/", "https://[2001:db8::1]/"}) {
        EXPECT_TRUE(Web::IsWebAddress(QString::fromLatin1(yes))) << yes;
    }
    for (const char* no :
         {"", "   ", "example.com", "www.example.com/page", "http://", "https:///path",
          "file:///C:/Windows/win.ini", "javascript:alert(1)", "JavaScript:alert(1)",
          "data:text/html,x", "mailto:someone@example.com", "C:\\Program Files\\app.exe",
          "\\\\server\\share\\file", "/usr/bin/env", "vbscript:msgbox(1)", "http//example.com",
          "ms-settings:display", "shell:startup"}) {
        EXPECT_FALSE(Web::IsWebAddress(QString::fromLatin1(no))) << no;
    }
}

} // namespace
