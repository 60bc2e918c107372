#include "PlatformServices.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace platform {
namespace {

const char* const kService = "org.freedesktop.login1";
const char* const kPath = "/org/freedesktop/login1";
const char* const kInterface = "org.freedesktop.login1.Manager";

class LogindPowerControl final : public PowerControl {
public:
    bool SetPrivilege(const QString& name, bool enable) override {
        // logind decides through polkit; "having the privilege" means it would let us.
        if (!enable || name != QLatin1String("SeShutdownPrivilege"))
            return true;
        if (powerOffForbiddenByEnvironment())
            return false;
        QDBusInterface manager(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                               QString::fromLatin1(kInterface), QDBusConnection::systemBus());
        if (!manager.isValid())
            return false;
        const QDBusReply<QString> can = manager.call(QStringLiteral("CanPowerOff"));
        return can.isValid() &&
               (can.value() == QLatin1String("yes") || can.value() == QLatin1String("challenge"));
    }

    bool PowerOff() override {
        if (powerOffForbiddenByEnvironment())
            return false;
        QDBusInterface manager(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                               QString::fromLatin1(kInterface), QDBusConnection::systemBus());
        if (!manager.isValid())
            return false;
        // not interactive: no authentication prompt, the request is granted or refused
        const QDBusMessage reply = manager.call(QStringLiteral("PowerOff"), false);
        return reply.type() != QDBusMessage::ErrorMessage;
    }
};

} // namespace

bool powerOffForbiddenByEnvironment() {
    return qEnvironmentVariableIsSet("CHENFAN_FORBID_POWER_OFF") || qEnvironmentVariableIsSet("CI");
}

std::unique_ptr<PowerControl> makeSystemPowerControl() {
    return std::make_unique<LogindPowerControl>();
}

} // namespace platform
