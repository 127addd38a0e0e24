#include "desktop/mprisadaptors.h"

#include "desktop/mprisservice.h"

namespace lumora {

MprisRootAdaptor::MprisRootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisRootAdaptor::identity() const {
    return QStringLiteral("Lumora");
}

// The desktop entry's file name without ".desktop".
QString MprisRootAdaptor::desktopEntry() const {
    return QStringLiteral("lumora");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return {QStringLiteral("quran")};
}

void MprisRootAdaptor::Raise() {
    m_service->raise();
}

void MprisRootAdaptor::Quit() {
    m_service->quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return m_service->playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return m_service->metadata();
}

double MprisPlayerAdaptor::volume() const {
    return m_service->volume();
}

void MprisPlayerAdaptor::setVolume(double volume) {
    m_service->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const {
    return m_service->positionUs();
}

bool MprisPlayerAdaptor::canControlSura() const {
    return m_service->hasSura();
}

void MprisPlayerAdaptor::Next() {
    m_service->next();
}

void MprisPlayerAdaptor::Previous() {
    m_service->previous();
}

void MprisPlayerAdaptor::Pause() {
    m_service->pause();
}

void MprisPlayerAdaptor::PlayPause() {
    m_service->playPause();
}

void MprisPlayerAdaptor::Stop() {
    m_service->stop();
}

void MprisPlayerAdaptor::Play() {
    m_service->play();
}

// CanSeek is false: the interface asks that these do nothing.
void MprisPlayerAdaptor::Seek(qlonglong) {}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong) {}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    m_service->openUri(uri);
}

}  // namespace lumora
