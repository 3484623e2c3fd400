#pragma once

#include "app/RuntimeDirectory.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

// At most one copy of the program runs per user and display. The first start listens on a local
// socket in the user's private runtime folder; a later start finds it there, makes sure the
// listener is a copy of this program run by the same user, asks it to come forward, and ends.
// A lock beside the socket serialises two starts at the same moment. Whatever a dead copy leaves
// behind counts for nothing: its lock died with it and its socket refuses connections.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `identity` is what this copy tells later starts about itself (the dictionary it shows).
    explicit SingleInstance(const QString& identity = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this start is the one that runs: no copy answered, or the rule cannot be kept
    // here (the reason is on stderr). False when a running copy was told to come forward.
    bool BecomePrimary();

    // Later starts are told that this copy is up, not merely starting.
    void SetReady() { ready_ = true; }

    // What the copy that answered said about itself, after BecomePrimary returned false.
    QString RunningCopyIdentity() const { return runningIdentity_; }

    // The socket later starts knock on; empty when the rule cannot be kept.
    QString SocketPath() const { return socketPath_; }

    // The wire format, for tests that talk to a running copy: a request line and the answer's
    // first word.
    static constexpr const char* kActivateRequest = "activate\n";
    static constexpr const char* kStatusRequest = "status\n";
    static constexpr const char* kAnswerTag = "tessarine-2000";

signals:
    void ActivationRequested();

private:
    enum class Knock { NobodyThere, HandedOver, Ignored };
    Knock KnockOnRunningCopy();
    bool Listen();
    QByteArray Answer() const;

    QString identity_;
    QString runningIdentity_;
    QString socketPath_;
    std::atomic<bool> ready_ = false;
    // The listener lives in a thread of its own, so that it answers at once even while the
    // window's thread is busy opening a large dictionary.
    QThread* listenerThread_ = nullptr;
};
