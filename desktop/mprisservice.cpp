#include "desktop/mprisservice.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <algorithm>
#include <cmath>

#include "audio/player.h"
#include "desktop/mprisadaptors.h"
#include "recitation/recitationcontroller.h"
#include "recitation/verseslidermodel.h"

namespace lumora {

namespace {

const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// Often enough that the end of a verse played alone shows as Stopped without delay a user notices.
constexpr int kPollMs = 250;

// "36. YA-SEEN" → "YA-SEEN"; the list's trailing blanks and audio mark left out.
QString suraName(RecitationController& controller, int sura) {
    QString text = controller.suraList().itemText(sura - 1);
    text.remove(SuraList::kAudioMissingSuffix);
    return text.mid(text.indexOf(QLatin1Char(' ')) + 1).trimmed();
}

}  // namespace

const QString MprisService::kServiceName = QStringLiteral("org.mpris.MediaPlayer2.lumora");
const QString MprisService::kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString MprisService::kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString MprisService::kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

MprisService::MprisService(RecitationController& controller, Player& player, Hooks hooks, QObject* parent)
    : QObject(parent),
      m_controller(controller),
      m_player(player),
      m_hooks(std::move(hooks)),
      m_connection(QStringLiteral("lumora-no-bus")) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    connect(&m_controller.suraList(), &SuraList::currentIndexChanged, this, &MprisService::scheduleRefresh);
    for (int index = 0; index < 3; ++index)
        connect(&m_controller.slider(index), &VerseSliderModel::changed, this, &MprisService::scheduleRefresh);
    connect(&m_controller.volume(), &VolumeModel::curPositionChanged, this, &MprisService::scheduleRefresh);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &MprisService::refresh);
}

MprisService::~MprisService() {
    if (m_registered) {
        m_connection.unregisterObject(kObjectPath);
        m_connection.unregisterService(kServiceName);
    }
}

bool MprisService::registerOn(QDBusConnection connection) {
    if (m_registered || !connection.isConnected())
        return false;
    if (!connection.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    if (!connection.registerService(kServiceName)) {
        connection.unregisterObject(kObjectPath);
        return false;
    }
    m_connection = connection;
    m_registered = true;
    m_seen = snapshot();
    m_poll.start();
    return true;
}

bool MprisService::hasSura() const {
    return m_controller.sura() != 0;
}

QString MprisService::playbackStatus() const {
    if (!hasSura())
        return QStringLiteral("Stopped");
    if (m_controller.isPaused())
        return QStringLiteral("Paused");
    // A range being followed is playing through its pauses between verses and repeats too.
    if (m_controller.tickEnabled() || m_player.isPlaying())
        return QStringLiteral("Playing");
    return QStringLiteral("Stopped");
}

QVariantMap MprisService::metadata() const {
    QVariantMap map;
    const int sura = m_controller.sura();
    if (sura == 0) {
        map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack)));
        return map;
    }
    const int32_t record = m_controller.currentVerse();
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(
                   QStringLiteral("/io/github/lumora/Lumora/verse/%1_%2").arg(sura).arg(record))));
    const QString name = suraName(m_controller, sura);
    const QString verse = VerseSliderModel::valueTipText(record, static_cast<uint8_t>(sura));
    map.insert(QStringLiteral("xesam:title"), QStringLiteral("%1 \u2014 verse %2").arg(name, verse));
    map.insert(QStringLiteral("xesam:album"), name);
    map.insert(QStringLiteral("xesam:trackNumber"), record);
    const QString reciter = m_hooks.reciter ? m_hooks.reciter() : QString();
    if (!reciter.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{reciter});
    const auto& table = m_controller.verseTable();
    if (record >= 0 && static_cast<size_t>(record) < table.size()) {
        const VerseTiming& timing = table[static_cast<size_t>(record)];
        if (timing.endMs > timing.startMs)
            map.insert(QStringLiteral("mpris:length"), qlonglong(timing.endMs - timing.startMs) * 1000);
    }
    return map;
}

double MprisService::volume() const {
    return double(m_controller.volume().curPosition()) / VolumeModel::kMax;
}

void MprisService::setVolume(double volume) {
    if (std::isnan(volume))
        return;
    const double held = std::clamp(volume, 0.0, 1.0);
    m_controller.volume().setCurPosition(static_cast<int32_t>(std::lround(held * VolumeModel::kMax)));
    m_controller.applyVolume();
    scheduleRefresh();
}

qlonglong MprisService::positionUs() const {
    const int32_t record = m_controller.currentVerse();
    const auto& table = m_controller.verseTable();
    if (!hasSura() || !m_player.hasStream() || record < 0 || static_cast<size_t>(record) >= table.size())
        return 0;
    const VerseTiming& timing = table[static_cast<size_t>(record)];
    // The player reports its position ahead of what is heard by its look-ahead.
    const int32_t heardMs = m_player.getPosition() - Player::kLookAheadMs;
    return qlonglong(std::clamp(heardMs - timing.startMs, 0, std::max(timing.endMs - timing.startMs, 0))) * 1000;
}

void MprisService::play() {
    if (!hasSura())
        return;
    if (m_controller.isPaused())
        m_controller.pauseOrContinue();
    else if (playbackStatus() != QLatin1String("Playing"))
        m_controller.startRecitation();
    refresh();
}

void MprisService::pause() {
    if (playbackStatus() == QLatin1String("Playing"))
        m_controller.pauseOrContinue();
    refresh();
}

void MprisService::playPause() {
    if (playbackStatus() == QLatin1String("Stopped"))
        play();
    else
        m_controller.pauseOrContinue();
    refresh();
}

void MprisService::stop() {
    if (hasSura()) {
        // Stop leaves the pause behind it: a later Play starts afresh.
        if (m_controller.isPaused())
            m_controller.pauseOrContinue();
        m_controller.stop();
    }
    refresh();
}

void MprisService::next() {
    if (!hasSura())
        return;
    if (m_controller.isKeyboard())
        m_controller.stepNextVerse();
    else
        m_controller.moveRangeForward();
    refresh();
}

void MprisService::previous() {
    if (!hasSura())
        return;
    if (m_controller.isKeyboard())
        m_controller.stepPreviousVerse();
    else
        m_controller.moveRangeBackward();
    refresh();
}

void MprisService::raise() {
    if (m_hooks.raise)
        m_hooks.raise();
}

void MprisService::quit() {
    if (m_hooks.quit)
        m_hooks.quit();
}

void MprisService::openUri(const QString& uri) {
    if (m_controller.followVerseReference(uri))
        raise();
    refresh();
}

MprisService::Snapshot MprisService::snapshot() const {
    Snapshot now;
    now.player.insert(QStringLiteral("PlaybackStatus"), playbackStatus());
    now.player.insert(QStringLiteral("Metadata"), metadata());
    now.player.insert(QStringLiteral("Volume"), volume());
    const bool control = hasSura();
    for (const char* name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause"})
        now.player.insert(QString::fromLatin1(name), control);
    return now;
}

void MprisService::scheduleRefresh() {
    if (!m_registered || m_refreshScheduled)
        return;
    m_refreshScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshScheduled = false;
        refresh();
    });
}

void MprisService::refresh() {
    if (!m_registered)
        return;
    const Snapshot now = snapshot();
    sendChanges(kRootInterface, m_seen.root, now.root);
    sendChanges(kPlayerInterface, m_seen.player, now.player);
    m_seen = now;
}

void MprisService::sendChanges(const QString& interface, const QVariantMap& before, const QVariantMap& now) {
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    m_connection.send(signal);
}

}  // namespace lumora
