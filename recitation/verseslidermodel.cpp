#include "recitation/verseslidermodel.h"

namespace lumora {

namespace {

Error invalidPropertyValue() {
    return Error{VerseSliderModel::kInvalidPropertyValue, "VerseSlider", "Invalid property value"};
}

}  // namespace

VerseSliderModel::VerseSliderModel(QObject* parent) : QObject(parent) {}

Result<void> VerseSliderModel::setMin(int32_t min) {
    if (min >= m_max) return invalidPropertyValue();
    m_min = min;
    emit rangeChanged();
    return setValue(min);
}

Result<void> VerseSliderModel::setMax(int32_t max) {
    if (max <= m_min) return invalidPropertyValue();
    m_max = max;
    emit rangeChanged();
    return {};
}

Result<void> VerseSliderModel::setValue(int32_t value) {
    if (value < m_min || value > m_max) return invalidPropertyValue();
    m_value = value;
    if (value == m_lastRaised) return {};
    m_lastRaised = value;
    emit changed();
    if (value == m_max) emit arrivedLast();
    if (value == m_min) emit arrivedFirst();
    return {};
}

void VerseSliderModel::setToolTipText(const QString& text) {
    if (text == m_toolTipText) return;
    m_toolTipText = text;
    emit toolTipTextChanged(text);
}

QString VerseSliderModel::valueTipText() const { return valueTipText(m_value, m_sura); }

QString VerseSliderModel::valueTipText(int32_t value, uint8_t sura) {
    return QString::number(sura == 9 ? static_cast<int64_t>(value) + 1 : value);
}

}  // namespace lumora
