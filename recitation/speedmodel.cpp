#include "recitation/speedmodel.h"

#include <algorithm>
#include <cmath>

namespace lumora {

SpeedModel::SpeedModel(QObject* parent) : QObject(parent) {}

void SpeedModel::setHundredths(int32_t hundredths) {
    const int32_t held = std::clamp(hundredths, kMin, kMax);
    const int32_t stepped = (held + kStep / 2) / kStep * kStep;
    if (stepped == m_hundredths) {
        return;
    }
    m_hundredths = stepped;
    emit changed(m_hundredths);
}

QString SpeedModel::storedText(int32_t hundredths) {
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QString SpeedModel::text(int32_t hundredths) { return storedText(hundredths) + QChar(0x00D7); }

int32_t SpeedModel::fromStoredText(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0) {
        return kNormal;
    }
    const auto hundredths = static_cast<int32_t>(std::lround(std::clamp(value, 0.0, 10.0) * 100.0));
    return std::clamp((std::clamp(hundredths, kMin, kMax) + kStep / 2) / kStep * kStep, kMin, kMax);
}

}  // namespace lumora
