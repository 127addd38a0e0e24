#pragma once
// What a screen reader learns of a verse slider: a slider named by its label ("Range Begin"), whose value
// is said in words ("verse 255 of 286"; record 0 of a sura's table is its opening formula, and suras 1 and
// 9 count from record 0 as verse 1), which can be set, stepped and focused. Before a sura is loaded (and
// for sliders that show no verses) the value is the plain number.

#include <cstdint>

#include "controls/accessibleslider.h"

namespace lumora {

class VerseSlider;

class AccessibleVerseSlider : public AccessibleSlider {
public:
    explicit AccessibleVerseSlider(VerseSlider* slider);

    // The words for `value` on a slider running to `max` in `sura` (0 when none).
    static QString valueWords(int32_t value, int32_t max, uint8_t sura);
    // What record `record` of `sura` is called: "verse 5", or "opening formula" for record 0 of a sura
    // that has one.
    static QString verseName(int32_t record, uint8_t sura);
    // The number of verses of a sura whose table runs to record `max`.
    static int64_t verseCount(int32_t max, uint8_t sura);

    QString text(QAccessible::Text type) const override;

    QVariant currentValue() const override;
    // Refused (nothing changes) outside the slider's range, as a drag would be held to it.
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

protected:
    QString increaseKey() const override;
    QString decreaseKey() const override;

private:
    VerseSlider* slider() const;
};

}  // namespace lumora
