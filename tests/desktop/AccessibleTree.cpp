#include "AccessibleTree.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>

namespace {

constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
// Starting the accessibility bus on first use takes a moment.
constexpr int kBusStartMs = 20000;
constexpr int kCallMs = 5000;

QString UniqueConnectionName(const char* what) {
    static std::atomic<int> next = 0;
    return QStringLiteral("%1-%2").arg(QLatin1String(what)).arg(next++);
}

QDBusMessage Call(const QDBusConnection& bus, const QString& service, const QString& path,
                  const char* interface, const char* method, const QVariantList& arguments = {},
                  int timeoutMs = kCallMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, QLatin1String(interface),
                                                          QLatin1String(method));
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, timeoutMs);
}

} // namespace

AccessibleTree::AccessibleTree(const QString& sessionBusAddress) {
    const QString sessionName = UniqueConnectionName("session");
    {
        QDBusConnection session = QDBusConnection::connectToBus(sessionBusAddress, sessionName);
        if (!session.isConnected()) {
            problem_ = QStringLiteral("no session bus at ") + sessionBusAddress;
        } else {
            const QDBusMessage reply =
                Call(session, QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                     "org.a11y.Bus", "GetAddress", {}, kBusStartMs);
            const QString address = reply.arguments().value(0).toString();
            if (reply.type() != QDBusMessage::ReplyMessage || address.isEmpty()) {
                problem_ = QStringLiteral("no accessibility bus: ") + reply.errorMessage();
            } else {
                connectionName_ = UniqueConnectionName("a11y");
                bus_ = QDBusConnection::connectToBus(address, connectionName_);
                if (!bus_->isConnected())
                    problem_ = QStringLiteral("cannot reach the accessibility bus at ") + address;
            }
        }
    }
    QDBusConnection::disconnectFromBus(sessionName);
}

AccessibleTree::~AccessibleTree() {
    bus_.reset();
    if (!connectionName_.isEmpty())
        QDBusConnection::disconnectFromBus(connectionName_);
}

QList<AccessibleTree::Node> AccessibleTree::Children(const Node& node) const {
    QList<Node> children;
    if (!bus_)
        return children;
    const QDBusMessage reply =
        Call(*bus_, node.service, node.path.path(), kAccessible, "GetChildren");
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return children;
    const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Node child;
        list.beginStructure();
        list >> child.service >> child.path;
        list.endStructure();
        children << child;
    }
    list.endArray();
    return children;
}

QString AccessibleTree::Name(const Node& node) const {
    if (!bus_)
        return {};
    const QDBusMessage reply =
        Call(*bus_, node.service, node.path.path(), "org.freedesktop.DBus.Properties", "Get",
             {QString::fromLatin1(kAccessible), QStringLiteral("Name")});
    return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
}

QString AccessibleTree::Text(const Node& node) const {
    if (!bus_)
        return {};
    const QDBusMessage reply =
        Call(*bus_, node.service, node.path.path(), "org.a11y.atspi.Text", "GetText", {0, -1});
    return reply.arguments().value(0).toString();
}

std::optional<AccessibleTree::Node> AccessibleTree::Application(const QString& name,
                                                                int timeoutMs) {
    const Node registry{QLatin1String(kRegistry), QDBusObjectPath(QLatin1String(kRootPath))};
    return WaitFor(
        [&]() -> std::optional<Node> {
            for (const Node& application : Children(registry))
                if (Name(application) == name)
                    return application;
            return std::nullopt;
        },
        timeoutMs);
}

std::optional<AccessibleTree::Node>
AccessibleTree::Find(const Node& from, const std::function<bool(const QString&)>& matches,
                     int maxNodes) const {
    QList<Node> queue = Children(from);
    for (int seen = 0; !queue.isEmpty() && seen < maxNodes; ++seen) {
        const Node node = queue.takeFirst();
        if (matches(Name(node)))
            return node;
        queue << Children(node);
    }
    return std::nullopt;
}

QStringList AccessibleTree::Names(const Node& from, int maxNodes) const {
    QStringList names;
    QList<Node> queue = Children(from);
    while (!queue.isEmpty() && names.size() < maxNodes) {
        const Node node = queue.takeFirst();
        names << Name(node);
        queue << Children(node);
    }
    return names;
}

std::optional<AccessibleTree::Node>
AccessibleTree::WaitFor(const std::function<std::optional<Node>()>& find, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (std::optional<Node> found = find())
            return found;
        if (timer.elapsed() > timeoutMs)
            return std::nullopt;
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
}
