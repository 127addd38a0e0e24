#pragma once
// SingleInstance: one Lumora per desktop session. The first start takes the name io.github.lumora.Lumora on
// the session bus; a later start finds it taken, hands its arguments (the verse references of its command
// line) to the running Lumora through the Open method, and ends. The running one raises its window and moves
// to the reference.
//
// Without a session bus every start runs on its own, as before. A running Lumora that does not answer in
// time does not stop a new start either: that start runs on its own.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace lumora {

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.lumora.Lumora")
public:
    static const QString kServiceName;
    static const QString kObjectPath;

    enum class Outcome {
        // This is the one Lumora: it serves Open.
        First,
        // The running Lumora took the arguments; this start ends.
        HandedOver,
        // No bus, or no answer: this start runs on its own.
        Alone,
    };

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome claimOrHandOver(const QStringList& arguments,
                            QDBusConnection connection = QDBusConnection::sessionBus());

public slots:
    // Called over the bus by a later start.
    Q_SCRIPTABLE void Open(const QStringList& arguments);

signals:
    void openRequested(const QStringList& arguments);

private:
    QDBusConnection m_connection;
    bool m_registered = false;
};

}  // namespace lumora
