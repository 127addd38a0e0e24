#pragma once
// A hover tip window for a set of controls: when the pointer rests on a registered control for the delay
// time, a tip window shows that control's text near the pointer for the visible time, wrapped at the
// maximum width. Destroying the object takes every tip away at once.

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>

class QLabel;
class QTimer;
class QWidget;

namespace lumora {

class HelpToolTip : public QObject {
    Q_OBJECT
public:
    // Times are held to this range (milliseconds).
    static constexpr int kLongestTimeMs = 32767;

    explicit HelpToolTip(QWidget* owner);
    ~HelpToolTip() override;

    // Gives `label` the look of a tip: black on pale yellow in a box. Hidden until shown.
    static void styleAsTip(QLabel* label);

    int maxWidth() const { return m_maxWidth; }
    void setMaxWidth(int pixels);
    int visibleTime() const { return m_visibleMs; }
    void setVisibleTime(int ms);
    int delayTime() const { return m_delayMs; }
    void setDelayTime(int ms);
    void setFont(const QFont& font);

    // Registers `control` with its tip text. A control registered again keeps the later text.
    void addControl(QWidget* control, const QString& caption, bool centreTip);
    int registrations() const { return m_registrations; }
    // The text of `control`'s tip (empty when it has none).
    QString textFor(const QWidget* control) const;

    // The tip window, and the control it is shown for (none while hidden).
    QLabel* tipWindow() const { return m_tip; }
    QWidget* shownFor() const;
    // Runs from the pointer's arrival on a control until the tip shows.
    QTimer* delayTimer() const { return m_delay; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QString text;
        bool centre = false;
    };
    void show();
    void hide();

    QPointer<QWidget> m_owner;
    std::map<const QObject*, Tool> m_tools;
    int m_registrations = 0;
    int m_maxWidth = 300;
    int m_visibleMs = 5000;
    int m_delayMs = 500;
    QLabel* m_tip;
    QTimer* m_delay;
    QTimer* m_visible;
    QPointer<QWidget> m_pending;
    QPointer<QWidget> m_shownFor;
};

}  // namespace lumora
