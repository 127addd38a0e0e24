#pragma once
// MprisService: Lumora as a media player on the session bus (org.mpris.MediaPlayer2.lumora at
// /org/mpris/MediaPlayer2), so media keys, sound applets and desktop widgets show and drive it.
//
// The current verse is the "track": its title is "<sura name> — verse V", its album the sura, its artist the
// reciter, its length the verse's recording. Play, Pause and Stop are the window's own actions; Next and
// Previous move the range (as M and N do) in range mode and the verse (as C and Z do) in verse mode. The
// volume is the volume slider's, both ways. Seeking is not offered: Lumora follows verses, not a time line.
//
// Every property the desktop reads is compared with what it last saw whenever the controller's models
// change and, for the player's own end of playing, a few times a second; what differs goes out in one
// PropertiesChanged signal per interface.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <functional>

namespace lumora {

class Player;
class RecitationController;

class MprisService : public QObject {
    Q_OBJECT
public:
    static const QString kServiceName;
    static const QString kObjectPath;
    static const QString kRootInterface;
    static const QString kPlayerInterface;

    // What the service needs of the window and the recordings.
    struct Hooks {
        std::function<void()> raise;
        std::function<void()> quit;
        // The display name of the current recordings' reciter; empty when unknown.
        std::function<QString()> reciter;
    };

    MprisService(RecitationController& controller, Player& player, Hooks hooks, QObject* parent = nullptr);
    ~MprisService() override;

    // Registers the object and takes the service name. False, with nothing left registered, when there is no
    // bus or another program holds the name; Lumora then simply runs without.
    bool registerOn(QDBusConnection connection);

    // --- what the adaptors show ---
    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong positionUs() const;
    bool hasSura() const;

    // --- what the adaptors do ---
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void raise();
    void quit();
    void openUri(const QString& uri);

    // Sends PropertiesChanged for whatever changed since the last look; the models' signals schedule it.
    void refresh();

private:
    struct Snapshot {
        QVariantMap root;
        QVariantMap player;
    };
    Snapshot snapshot() const;
    void scheduleRefresh();
    void sendChanges(const QString& interface, const QVariantMap& before, const QVariantMap& now);

    RecitationController& m_controller;
    Player& m_player;
    Hooks m_hooks;
    QDBusConnection m_connection;
    bool m_registered = false;
    bool m_refreshScheduled = false;
    Snapshot m_seen;
    QTimer m_poll;
};

}  // namespace lumora
