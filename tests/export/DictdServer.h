#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A dictd of the test's own: on 127.0.0.1 and a free port, with a configuration file of its own
// that serves one exported database, in the foreground (not as a daemon); stopped when the object
// goes.
class DictdServer {
public:
    DictdServer() = default;
    ~DictdServer();
    DictdServer(const DictdServer&) = delete;
    DictdServer& operator=(const DictdServer&) = delete;

    // Serves DIR/NAME.index and DIR/NAME.dict.dz as database NAME; false with *error when dictd
    // does not come up within ten seconds.
    bool Start(const QString& dictd, const QString& dir, const QString& name, QString* error);
    int Port() const { return port_; }
    // What dictd said on its standard output and error so far.
    QString Log();

private:
    QTemporaryDir home_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};
