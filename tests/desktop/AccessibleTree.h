#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What a screen reader sees of the programs on a desktop: the accessibility (AT-SPI) bus that a
// session bus leads to, read over D-Bus as Orca reads it. It works alike on X11 and Wayland.
class AccessibleTree {
public:
    // One object of a program's tree: the program's name on the bus and the object's path.
    struct Node {
        QString service;
        QDBusObjectPath path;
    };

    // Asks the session bus at `sessionBusAddress` where the accessibility bus is, and connects.
    explicit AccessibleTree(const QString& sessionBusAddress);
    ~AccessibleTree();

    // Empty when connected; otherwise why not.
    QString Problem() const { return problem_; }

    // The application whose root has the name `name`, once it has registered; waits timeoutMs.
    std::optional<Node> Application(const QString& name, int timeoutMs);

    QString Name(const Node& node) const;
    QList<Node> Children(const Node& node) const;
    // The text of an object with the text interface (a line edit, a text box).
    QString Text(const Node& node) const;

    // The first object below `from`, breadth first, whose name `matches`; at most maxNodes seen.
    std::optional<Node> Find(const Node& from, const std::function<bool(const QString&)>& matches,
                             int maxNodes = 3000) const;
    // The names of every object below `from`, breadth first, at most maxNodes of them.
    QStringList Names(const Node& from, int maxNodes = 3000) const;

    // Waits until `find` gives a node, asking again every few milliseconds.
    static std::optional<Node> WaitFor(const std::function<std::optional<Node>()>& find,
                                       int timeoutMs);

private:
    QString connectionName_;
    std::optional<QDBusConnection> bus_;
    QString problem_;
};
