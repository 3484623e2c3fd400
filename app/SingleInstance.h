#pragma once

#include <QObject>
#include <memory>

class QLocalServer;
class QLockFile;

// At most one copy of the program runs per user session. The first start listens on a local
// socket; a later start finds it there, asks it to come forward, and ends. A lock file
// serialises two starts at the same moment, and a copy that died leaves nothing that counts:
// its lock is stale (its process is gone) and its socket refuses connections.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this start is the one that runs; false when another copy was told to come
    // forward.
    bool BecomePrimary();

signals:
    void ActivationRequested();

private:
    QString ServerName() const;
    bool NotifyRunningCopy();

    QLocalServer* server_ = nullptr;
};
