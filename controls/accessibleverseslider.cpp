#include "controls/accessibleverseslider.h"

#include "controls/verseslider.h"

namespace lumora {

namespace {

// Suras whose record 0 is their first verse rather than the opening formula before it.
bool countsFromRecordZero(uint8_t sura) { return sura == 1 || sura == 9; }

}  // namespace

AccessibleVerseSlider::AccessibleVerseSlider(VerseSlider* slider) : AccessibleSlider(slider) {}

VerseSlider* AccessibleVerseSlider::slider() const { return static_cast<VerseSlider*>(widget()); }

QString AccessibleVerseSlider::verseName(int32_t record, uint8_t sura) {
    if (countsFromRecordZero(sura)) return QStringLiteral("verse %1").arg(static_cast<int64_t>(record) + 1);
    if (record == 0) return QStringLiteral("opening formula");
    return QStringLiteral("verse %1").arg(record);
}

int64_t AccessibleVerseSlider::verseCount(int32_t max, uint8_t sura) {
    return countsFromRecordZero(sura) ? static_cast<int64_t>(max) + 1 : max;
}

QString AccessibleVerseSlider::valueWords(int32_t value, int32_t max, uint8_t sura) {
    if (sura == 0) return QString::number(value);
    if (value == 0 && !countsFromRecordZero(sura)) return QStringLiteral("opening formula, Bismillah");
    return QStringLiteral("%1 of %2").arg(verseName(value, sura)).arg(verseCount(max, sura));
}

QString AccessibleVerseSlider::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        const VerseSliderModel* model = slider()->model();
        return valueWords(model->value(), model->max(), model->sura());
    }
    return QAccessibleWidget::text(type);
}

QVariant AccessibleVerseSlider::currentValue() const { return slider()->model()->value(); }

void AccessibleVerseSlider::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const qlonglong wanted = value.toLongLong(&ok);
    if (!ok || !slider()->isEnabled()) return;
    VerseSliderModel* model = slider()->model();
    if (wanted < model->min() || wanted > model->max()) return;
    static_cast<void>(model->setValue(static_cast<int32_t>(wanted)));
}

QVariant AccessibleVerseSlider::maximumValue() const { return slider()->model()->max(); }

QVariant AccessibleVerseSlider::minimumValue() const { return slider()->model()->min(); }

QString AccessibleVerseSlider::increaseKey() const {
    return slider()->orientation() == Qt::Horizontal ? QStringLiteral("Right") : QStringLiteral("Up");
}

QString AccessibleVerseSlider::decreaseKey() const {
    return slider()->orientation() == Qt::Horizontal ? QStringLiteral("Left") : QStringLiteral("Down");
}

}  // namespace lumora
