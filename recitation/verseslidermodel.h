#pragma once
// The value model of a verse slider: an integer value between a minimum and a maximum, the change and
// arrival events, the owner's Tag and tool tip, and the sura whose number changes the value tip.
// The recitation logic drives it; the VerseSlider widget draws it and forwards the user's drags to it.

#include <QObject>
#include <QString>

#include "codec/result.h"

namespace lumora {

class VerseSliderModel : public QObject {
    Q_OBJECT
public:
    // The error a refused property value raises; the old value stays in place.
    static constexpr int32_t kInvalidPropertyValue = 380;

    explicit VerseSliderModel(QObject* parent = nullptr);

    int32_t min() const { return m_min; }
    int32_t max() const { return m_max; }
    int32_t value() const { return m_value; }

    // Min must stay below Max: a Min >= Max is refused. A new Min also becomes the value (with its events).
    Result<void> setMin(int32_t min);
    // Max must stay above Min. Lowering Max below the value leaves the value where it is until next set.
    Result<void> setMax(int32_t max);
    // A value outside Min..Max is refused. Setting the value it already has raises nothing; otherwise
    // changed() is emitted, then arrivedLast() when it is Max, then arrivedFirst() when it is Min.
    Result<void> setValue(int32_t value);

    // Text the owner keeps with the slider (the range end keeps its remembered range length here).
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    QString toolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString& text);

    // The loaded sura, 0 until set; only the value tip looks at it.
    uint8_t sura() const { return m_sura; }
    void setSura(uint8_t sura) { m_sura = sura; }

    // The value tip's text: the value, or the value plus one in sura 9, whose first verse is record 0.
    QString valueTipText() const;
    static QString valueTipText(int32_t value, uint8_t sura);

signals:
    void changed();
    void arrivedFirst();
    void arrivedLast();
    void toolTipTextChanged(const QString& text);
    // Min or Max moved; the widget re-places its thumb.
    void rangeChanged();

private:
    int32_t m_min = 0;
    int32_t m_max = 10;
    int32_t m_value = 0;
    // The value for which change events were last raised.
    int32_t m_lastRaised = 0;
    QString m_tag;
    QString m_toolTipText;
    uint8_t m_sura = 0;
};

}  // namespace lumora
