// Handing a text over to the running copy: the request as written on the socket, real later
// starts of the program with --lookup and --selection, and requests that are hostile, stalled or
// many at once.
#include "EntryFixtures.h"
#include "ShellProcess.h"

#include "app/HandOver.h"
#include "app/SingleInstance.h"
#include "search/LookupText.h"
#include "support/ScopedEnvironment.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>

namespace {

using HandOver::LookupRequest;
using State = HandOver::RequestReader::State;

// Reads a whole request from its bytes, `step` bytes at a time.
HandOver::RequestReader ReadInSteps(const QByteArray& bytes, qsizetype step) {
    HandOver::RequestReader reader;
    for (qsizetype i = 0; i < bytes.size(); i += step)
        reader.Feed(bytes.mid(i, step));
    return reader;
}

TEST(HandOverRequest, ALookupArrivesWholeHoweverTheBytesAreSplit) {
    LookupRequest request;
    request.text = QStringLiteral("The CPU talks to\nRAM over ＰＣＩ. 𠮷");
    request.activationToken = QStringLiteral("token with spaces/and%signs");
    const QByteArray bytes = HandOver::Encode(request);
    for (qsizetype step : {qsizetype(1), qsizetype(7), bytes.size()}) {
        const HandOver::RequestReader reader = ReadInSteps(bytes, step);
        ASSERT_EQ(reader.Current(), State::Lookup) << step;
        EXPECT_EQ(reader.Lookup(), request) << step;
    }
    // Until the last byte of the text it is incomplete.
    EXPECT_EQ(ReadInSteps(bytes.chopped(1), 5).Current(), State::Incomplete);

    LookupRequest selection;
    selection.readSelection = true;
    EXPECT_EQ(ReadInSteps(HandOver::Encode(selection), 3).Lookup(), selection);
    LookupRequest cut;
    cut.text = QString(LookupText::kMostBytes, u'x');
    cut.cut = true;
    EXPECT_EQ(ReadInSteps(HandOver::Encode(cut), 4096).Lookup(), cut);
    // An empty text is a request too: the copy that gets it says what is wrong.
    EXPECT_EQ(ReadInSteps(HandOver::Encode(LookupRequest{}), 1).Current(), State::Lookup);

    EXPECT_EQ(ReadInSteps("activate\n", 1).Current(), State::Activate);
    EXPECT_EQ(ReadInSteps("status\n", 2).Current(), State::Status);
}

TEST(HandOverRequest, AnythingElseIsRefusedBeforeItCanGrow) {
    for (const char* line : {"lookup 65537 text -\n", "lookup -1 text -\n", "lookup x text -\n",
                             "lookup 3 bold -\n", "lookup 3 selection -\nabc", "lookup 3 text\n",
                             "hello\n", "activate now\n", "lookup 1 text - extra\n"})
        EXPECT_EQ(ReadInSteps(line, 1).Current(), State::Bad) << line;
    // A line that never ends is refused at its limit, not kept.
    EXPECT_EQ(ReadInSteps(QByteArray(HandOver::kLongestLine + 1, 'a'), 64).Current(), State::Bad);
    // The same however it arrives, with its end in sight or not.
    const QByteArray longLine =
        "lookup 3 text " + QByteArray(HandOver::kLongestLine, '0') + "\nabc";
    EXPECT_EQ(ReadInSteps(longLine, 1).Current(), State::Bad);
    EXPECT_EQ(ReadInSteps(longLine, longLine.size()).Current(), State::Bad);
    // A token too long to be one is not sent.
    LookupRequest longToken;
    longToken.text = QStringLiteral("CPU");
    longToken.activationToken = QString(HandOver::kLongestToken + 1, u't');
    EXPECT_TRUE(ReadInSteps(HandOver::Encode(longToken), 9).Lookup().activationToken.isEmpty());
    // Nor one that only its encoding makes too long; the text still goes.
    LookupRequest wideToken;
    wideToken.text = QStringLiteral("CPU");
    wideToken.activationToken = QString(HandOver::kLongestToken / 2, u'ト');
    const HandOver::RequestReader wide = ReadInSteps(HandOver::Encode(wideToken), 5);
    ASSERT_EQ(wide.Current(), State::Lookup);
    EXPECT_TRUE(wide.Lookup().activationToken.isEmpty());
    EXPECT_EQ(wide.Lookup().text, QStringLiteral("CPU"));
    // A token that reads like "no token" is still sent as itself.
    LookupRequest dash;
    dash.text = QStringLiteral("CPU");
    dash.activationToken = QStringLiteral("-");
    EXPECT_EQ(ReadInSteps(HandOver::Encode(dash), 2).Lookup(), dash);
}

// A copy that runs here in the test, with real later starts of the program handing over.
class HandOverTest : public EntryWindowTest {
protected:
    void SetUp() override {
        copy_.ShareRuntimeWith(environment_);
        copy_.AddBundledDictionary();
        instance_ = std::make_unique<SingleInstance>(copy_.DictionaryPath());
        ASSERT_TRUE(instance_->BecomePrimary());
        ASSERT_TRUE(Start());
        instance_->SetReady();
        QObject::connect(instance_.get(), &SingleInstance::LookupRequested, &W(), &frmMain::LookUp);
        QObject::connect(instance_.get(), &SingleInstance::LookupRequested,
                         [this](const LookupRequest& r) { received_ << r; });
    }
    void TearDown() override {
        instance_.reset();
        EntryWindowTest::TearDown();
    }

    // Starts the program with `arguments`, serves the requests until it ends, and returns its
    // exit code (-1 when it keeps running).
    int Run(const QStringList& arguments, QString* errors = nullptr) {
        QProcess* later = copy_.Start(QStringLiteral(":0"), {}, arguments);
        QElapsedTimer timer;
        timer.start();
        while (later->state() != QProcess::NotRunning && timer.elapsed() < 15000) {
            later->waitForFinished(10);
            QApplication::processEvents();
        }
        QApplication::processEvents();
        if (errors)
            *errors = QString::fromUtf8(later->readAllStandardError());
        return later->state() == QProcess::NotRunning ? later->exitCode() : -1;
    }

    // Sends raw bytes as a foreign program would, and returns what came back.
    static QByteArray Send(const QString& socketPath, const QByteArray& bytes, int waitMs) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(1000))
            return "(no connection)";
        socket.write(bytes);
        socket.flush();
        QByteArray answer;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < waitMs && socket.state() == QLocalSocket::ConnectedState) {
            QApplication::processEvents();
            socket.waitForReadyRead(10);
            answer += socket.readAll();
        }
        return answer + socket.readAll();
    }

    ProgramCopy copy_;
    ScopedEnvironment environment_;
    std::unique_ptr<SingleInstance> instance_;
    QList<LookupRequest> received_;
};

TEST_F(HandOverTest, ALaterStartHandsItsTextOverAndEnds) {
    EXPECT_EQ(Run({QStringLiteral("--lookup"), QStringLiteral("ＣＰＵ")}), 0);
    ASSERT_EQ(received_.size(), 1);
    EXPECT_EQ(received_[0].text, QStringLiteral("ＣＰＵ"));
    EXPECT_FALSE(received_[0].readSelection);
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("CPU"));

    EXPECT_EQ(Run({QStringLiteral("--lookup=The CPU talks to RAM over PCI.")}), 0);
    ASSERT_EQ(received_.size(), 2);
    QWidget* list = W().findChild<QWidget*>(QStringLiteral("frmTextAbbreviations"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
}

TEST_F(HandOverTest, TheDesktopsActivationTokenIsHandedOn) {
    environment_.Set("XDG_ACTIVATION_TOKEN", "token of the key press");
    EXPECT_EQ(Run({QStringLiteral("--lookup"), QStringLiteral("RAM")}), 0);
    ASSERT_EQ(received_.size(), 1);
    EXPECT_EQ(received_[0].activationToken, QStringLiteral("token of the key press"));
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
}

TEST_F(HandOverTest, TheRulesAboutAnotherDictionaryStayAsTheyAre) {
    // The same dictionary named: handed over.
    EXPECT_EQ(Run({QStringLiteral("-d"), copy_.DictionaryPath(), QStringLiteral("--lookup"),
                   QStringLiteral("RAM")}),
              0);
    EXPECT_EQ(received_.size(), 1);
    // Another one: refused, and nothing handed over.
    QString errors;
    EXPECT_EQ(Run({QStringLiteral("-d"), BundledDir() + QStringLiteral("/Abbr.hlp"),
                   QStringLiteral("--lookup"), QStringLiteral("PCI")},
                  &errors),
              1);
    EXPECT_EQ(received_.size(), 1) << errors.toStdString();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
}

TEST_F(HandOverTest, ASelectionTheStartCannotReadIsStillHandedOverToBeSaidInTheStatusBar) {
    // The later start's own desktop (offscreen) has nothing selected and nothing copied.
    QString errors;
    EXPECT_EQ(Run({QStringLiteral("--selection")}, &errors), 0);
    EXPECT_TRUE(errors.contains(QStringLiteral("the text to look up is empty")))
        << errors.toStdString();
    ASSERT_EQ(received_.size(), 1);
    EXPECT_EQ(StatusText(), LookupText::StatusMessage(LookupText::Problem::Empty));
}

TEST_F(HandOverTest, TenStartsAtOnceAreEachActedOn) {
    const QStringList words = {"CPU", "RAM", "ROM", "PCI", "USB",
                               "LAN", "WAN", "DNS", "URL", "HTML"};
    QList<QProcess*> starts;
    for (const QString& word : words)
        starts << copy_.Start(QStringLiteral(":0"), {}, {QStringLiteral("--lookup"), word});
    QElapsedTimer timer;
    timer.start();
    while (received_.size() < words.size() && timer.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    for (QProcess* start : starts) {
        ASSERT_TRUE(Ends(start, 10000));
        EXPECT_EQ(start->exitCode(), 0);
    }
    QApplication::processEvents();
    ASSERT_EQ(received_.size(), words.size());
    QStringList texts;
    for (const LookupRequest& r : received_)
        texts << r.text;
    // The start-up lock lets one start hand over at a time, so each arrives whole.
    EXPECT_EQ(QSet<QString>(texts.begin(), texts.end()), QSet<QString>(words.begin(), words.end()));
    EXPECT_EQ(W().Current().CurrentKeyword, texts.last());
    EXPECT_EQ(History::Store().EntryCount(), words.size());
}

TEST_F(HandOverTest, HostileAndStalledRequestsAreDroppedAndTheCopyKeepsAnswering) {
    const QString socket = instance_->SocketPath();
    EXPECT_TRUE(Send(socket, "lookup 99999999 text -\n", 500).isEmpty());
    EXPECT_TRUE(Send(socket, QByteArray(10000, 'x'), 500).isEmpty());
    // Half a request, then silence: dropped after a while, without an answer.
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(Send(socket, "lookup 10 text -\nabc", 8000).isEmpty());
    EXPECT_LT(timer.elapsed(), 7500) << "a stalled request is not kept open";
    EXPECT_TRUE(received_.isEmpty());

    // Ten megabytes written to the socket as one "text": refused at the line that announces it.
    LookupRequest huge;
    huge.text = QString(10 * 1024 * 1024, u'x');
    EXPECT_TRUE(Send(socket, HandOver::Encode(huge), 2000).isEmpty());
    EXPECT_TRUE(received_.isEmpty());

    EXPECT_EQ(Run({QStringLiteral("--lookup"), QStringLiteral("PCI")}), 0);
    ASSERT_EQ(received_.size(), 1);
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("PCI"));
}

} // namespace
