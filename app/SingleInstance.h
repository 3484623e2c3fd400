#pragma once

#include "app/HandOver.h"
#include "app/RuntimeDirectory.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QThread;

// At most one copy of the program runs per user and display. The first start listens on a local
// socket in the user's private runtime folder; a later start finds it there, makes sure the
// listener is a copy of this program run by the same user, asks it to come forward (and to look
// up a text, where the start has one), and ends. The requests are those of HandOver.h.
// A lock beside the socket serialises two starts at the same moment. Whatever a dead copy leaves
// behind counts for nothing: its lock died with it and its socket refuses connections.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `identity` is what this copy tells later starts about itself (the dictionary it shows).
    explicit SingleInstance(const QString& identity = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this start is the one that runs: no copy answered, or the rule cannot be kept
    // here (the reason is on stderr). False when a running copy was told to come forward, or
    // when it was left alone because it shows another identity (RunningCopyDiffers).
    bool BecomePrimary();

    // For a start that insists on its identity (a dictionary named on the command line): the
    // running copy is first asked for its status, and told to come forward only when `same`
    // holds for this start's identity and the running copy's. Without it any running copy is
    // told to come forward at once.
    using IdentityMatch = std::function<bool(const QString& mine, const QString& running)>;
    void RequireSameIdentity(IdentityMatch same) { sameIdentity_ = std::move(same); }

    // A start that has a text to look up hands it over instead of only asking the running copy
    // to come forward.
    void HandOverLookup(const HandOver::LookupRequest& request) { lookup_ = request; }

    // After BecomePrimary returned false: the running copy shows another identity and was not
    // asked to come forward.
    bool RunningCopyDiffers() const { return runningCopyDiffers_; }

    // Later starts are told that this copy is up, not merely starting.
    void SetReady() { ready_ = true; }

    // What the copy that answered said about itself, after BecomePrimary returned false.
    QString RunningCopyIdentity() const { return runningIdentity_; }

    // The socket later starts knock on; empty when the rule cannot be kept.
    QString SocketPath() const { return socketPath_; }

    // The answer's first word, for tests that talk to a running copy.
    static constexpr const char* kAnswerTag = "tessarine-2000";

signals:
    void ActivationRequested();
    // A later start handed over a text; emitted once the request has arrived whole.
    void LookupRequested(const HandOver::LookupRequest& request);

private:
    enum class Knock { NobodyThere, Answered, Ignored, Differs };
    Knock KnockOnRunningCopy();
    // One request on a connection of its own; the running copy answers it and hangs up.
    Knock Ask(const QByteArray& request);
    bool Listen();
    QByteArray Answer() const;
    // Reads the requests of a connection that the listener accepted, in the listener's thread.
    void Serve(class QLocalSocket* client);

    QString identity_;
    QString runningIdentity_;
    IdentityMatch sameIdentity_;
    std::optional<HandOver::LookupRequest> lookup_;
    bool runningCopyDiffers_ = false;
    QString socketPath_;
    std::atomic<bool> ready_ = false;
    // The listener lives in a thread of its own, so that it answers at once even while the
    // window's thread is busy opening a large dictionary.
    QThread* listenerThread_ = nullptr;
};
