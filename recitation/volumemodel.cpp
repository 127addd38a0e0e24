#include "recitation/volumemodel.h"

#include <algorithm>

namespace lumora {

VolumeModel::VolumeModel(QObject* parent) : QObject(parent) {}

void VolumeModel::setCurPosition(int32_t position) {
    const int32_t held = std::clamp(position, kMin, kMax);
    if (held == m_curPosition) return;
    m_curPosition = held;
    emit curPositionChanged(held);
}

}  // namespace lumora
