#include "desktop/singleinstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace lumora {

namespace {

// Long enough for a running Lumora busy loading a sura; short enough that a hung one does not keep the
// user waiting long for a window of its own.
constexpr int kHandOverTimeoutMs = 10000;

}  // namespace

const QString SingleInstance::kServiceName = QStringLiteral("io.github.lumora.Lumora");
const QString SingleInstance::kObjectPath = QStringLiteral("/io/github/lumora/Lumora");

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent), m_connection(QStringLiteral("lumora-no-bus")) {}

SingleInstance::~SingleInstance() {
    if (m_registered) {
        m_connection.unregisterService(kServiceName);
        m_connection.unregisterObject(kObjectPath);
    }
}

SingleInstance::Outcome SingleInstance::claimOrHandOver(const QStringList& arguments, QDBusConnection connection) {
    if (!connection.isConnected() || !connection.interface())
        return Outcome::Alone;
    if (!connection.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return Outcome::Alone;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = connection.interface()->registerService(
        kServiceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_connection = connection;
        m_registered = true;
        return Outcome::First;
    }
    connection.unregisterObject(kObjectPath);

    QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, QStringLiteral("Open"));
    call << arguments;
    const QDBusMessage answer = connection.call(call, QDBus::Block, kHandOverTimeoutMs);
    return answer.type() == QDBusMessage::ReplyMessage ? Outcome::HandedOver : Outcome::Alone;
}

void SingleInstance::Open(const QStringList& arguments) {
    emit openRequested(arguments);
}

}  // namespace lumora
