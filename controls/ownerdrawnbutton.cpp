#include "controls/ownerdrawnbutton.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include "controls/accessiblecontrols.h"
#include "controls/bevelpainter.h"
#include "controls/contrast.h"

namespace lumora {

namespace {

constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

// Room around the caption in the size hint, and the focus rectangle's inset from the border.
constexpr int kPaddingWidthPx = 16;
constexpr int kPaddingHeightPx = 10;
constexpr int kFocusInsetPx = 3;
// The space key presses the button at this point, as a mouse press near its corner would.
const QPoint kKeyPressPoint(1, 1);

}  // namespace

OwnerDrawnButton::OwnerDrawnButton(QWidget* parent) : OwnerDrawnButton(QString(), parent) {}

QString OwnerDrawnButton::shownCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        shown.append(caption[i]);
    }
    return shown;
}

OwnerDrawnButton::OwnerDrawnButton(const QString& caption, QWidget* parent)
    : QWidget(parent),
      m_backColor(palette().color(QPalette::Button)),
      m_foreColor(palette().color(QPalette::ButtonText)),
      m_foreColorChecked(palette().color(QPalette::ButtonText)) {
    AccessibleControls::ensureInstalled();
    setFocusPolicy(Qt::StrongFocus);
    // The owner hears of moves with no button held too.
    setMouseTracking(true);
    setCaption(caption);
}

void OwnerDrawnButton::setButtonType(int type) {
    m_buttonType = type;
    update();
}

void OwnerDrawnButton::setCheckBox(bool isCheckBox) {
    m_isCheckBox = isCheckBox;
    setDrawnDown(restingDown());
    update();
}

void OwnerDrawnButton::setChecked(bool checked) {
    const bool changed = checked != m_checked;
    m_checked = checked;
    setDrawnDown(checked);
    update();
    if (changed) announceChecked();
}

void OwnerDrawnButton::announceChecked() {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void OwnerDrawnButton::setCaption(const QString& caption) {
    if (m_shortcutId != 0) releaseShortcut(m_shortcutId);
    const bool changed = caption != m_caption;
    m_caption = caption;
    const QKeySequence accessKey = QKeySequence::mnemonic(caption);
    m_shortcutId = accessKey.isEmpty() ? 0 : grabShortcut(accessKey);
    updateGeometry();
    update();
    if (changed && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void OwnerDrawnButton::setColorScheme(int scheme) {
    m_colorScheme = scheme;
    update();
}

void OwnerDrawnButton::setShowFocusRect(bool show) {
    m_showFocusRect = show;
    update();
}

void OwnerDrawnButton::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

void OwnerDrawnButton::setForeColor(const QColor& colour) {
    m_foreColor = colour;
    update();
}

void OwnerDrawnButton::setForeColorChecked(const QColor& colour) {
    m_foreColorChecked = colour;
    update();
}

QColor OwnerDrawnButton::captionColour() const {
    QColor colour = m_colorScheme == kSystemColours ? palette().color(QPalette::ButtonText) : m_foreColor;
    if (m_isCheckBox && m_checked) colour = m_foreColorChecked;
    return isEnabled() ? colour : Contrast::dimmedOn(colour, faceColour());
}

QColor OwnerDrawnButton::faceColour() const {
    return m_colorScheme == kSystemColours ? palette().color(QPalette::Button) : m_backColor;
}

QSize OwnerDrawnButton::sizeHint() const {
    const QSize text = fontMetrics().size(Qt::TextSingleLine | Qt::TextShowMnemonic, m_caption);
    return text + QSize(kPaddingWidthPx, kPaddingHeightPx);
}

bool OwnerDrawnButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && m_shortcutId != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == m_shortcutId) {
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
            // Several controls share the access key: each press moves the focus on instead of clicking.
            setFocus(Qt::ShortcutFocusReason);
        } else {
            activate();
        }
        return true;
    }
    return QWidget::event(event);
}

void OwnerDrawnButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    const QColor face = faceColour();
    const BevelPainter bevel(face);
    switch (m_buttonType) {
    case kFlatButton:
        painter.fillRect(area, m_drawnDown ? face.darker(115) : face);
        if (m_drawnDown) {
            bevel.drawEdge(painter, area, BevelPainter::kSunkenOuter, BevelPainter::kAllSides);
        } else {
            painter.setPen(bevel.shadow());
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }
        break;
    case kClassicButton:
        painter.fillRect(area, face);
        bevel.drawEdge(painter, area, m_drawnDown ? BevelPainter::kSunkenEdge : BevelPainter::kRaisedEdge,
                       BevelPainter::kAllSides);
        break;
    default: {
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF outline = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient gradient(outline.topLeft(), outline.bottomLeft());
        gradient.setColorAt(0.0, m_drawnDown ? face.darker(125) : face.lighter(120));
        gradient.setColorAt(1.0, face);
        painter.setPen(bevel.darkShadow());
        painter.setBrush(gradient);
        painter.drawRoundedRect(outline, 4.0, 4.0);
        painter.setRenderHint(QPainter::Antialiasing, false);
        break;
    }
    }

    // The caption sinks one pixel with the button. A caption too long for the button ends in an ellipsis
    // rather than losing both ends; its access key still works, only the underline is not drawn.
    const QRect captionArea = area.adjusted(2, 2, -2, -2).translated(m_drawnDown ? QPoint(1, 1) : QPoint(0, 0));
    QString caption = m_caption;
    int flags = kCaptionFlags;
    if (fontMetrics().size(kCaptionFlags, m_caption).width() > captionArea.width()) {
        caption = fontMetrics().elidedText(shownCaption(m_caption), Qt::ElideRight, captionArea.width());
        flags &= ~Qt::TextShowMnemonic;
    }
    if (isEnabled()) {
        painter.setPen(captionColour());
        painter.drawText(captionArea, flags, caption);
    } else {
        // Embossed: a light copy one pixel down and right, the dimmed caption over it. The face's own
        // shadow colour would be too faint to read, so the upper copy keeps the caption's contrast.
        painter.setPen(bevel.highlight());
        painter.drawText(captionArea.translated(1, 1), flags, caption);
        painter.setPen(captionColour());
        painter.drawText(captionArea, flags, caption);
    }

    if (hasFocus() && m_showFocusRect) {
        painter.setPen(QPen(captionColour(), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(kFocusInsetPx, kFocusInsetPx, -kFocusInsetPx - 1, -kFocusInsetPx - 1));
    }
}

void OwnerDrawnButton::press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at) {
    if (button != Qt::RightButton) {
        m_lastButton = button;
        if (!m_isCheckBox) setDrawnDown(true);
    }
    emit mouseDown(button, modifiers, at.x(), at.y());
}

void OwnerDrawnButton::release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at) {
    if (button != Qt::RightButton && !m_isCheckBox) setDrawnDown(false);
    emit mouseUp(button, modifiers, at.x(), at.y());
    if (button == Qt::LeftButton && rect().contains(at)) {
        clickAction();
    } else if (m_isCheckBox) {
        // A check box drawn down by the held button goes back to showing its state.
        setDrawnDown(restingDown());
    }
}

void OwnerDrawnButton::activate() {
    m_lastButton = Qt::LeftButton;
    clickAction();
}

void OwnerDrawnButton::clickAction() {
    if (m_lastButton != Qt::LeftButton || !isEnabled()) return;
    if (m_isCheckBox) {
        m_checked = !m_checked;
        setDrawnDown(m_checked);
        announceChecked();
    } else {
        setDrawnDown(false);
    }
    emit click();
}

void OwnerDrawnButton::mousePressEvent(QMouseEvent* event) {
    press(event->button(), event->modifiers(), event->position().toPoint());
}

void OwnerDrawnButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like any other, so it clicks again on release.
    press(event->button(), event->modifiers(), event->position().toPoint());
}

void OwnerDrawnButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons == Qt::NoButton || (buttons & Qt::LeftButton)) {
        if (!rect().contains(at)) {
            setDrawnDown(restingDown());
        } else if (buttons & Qt::LeftButton) {
            setDrawnDown(true);
        }
    }
    emit mouseMove(buttons, event->modifiers(), at.x(), at.y());
}

void OwnerDrawnButton::mouseReleaseEvent(QMouseEvent* event) {
    release(event->button(), event->modifiers(), event->position().toPoint());
}

void OwnerDrawnButton::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key(), event->modifiers());
    if (!event->text().isEmpty()) emit keyPress(event->text());
    if (event->key() == Qt::Key_Space) {
        press(Qt::LeftButton, event->modifiers(), kKeyPressPoint);
        event->accept();
        return;
    }
    // Other keys go on to the parent (a dialog's Escape and Enter, for instance).
    QWidget::keyPressEvent(event);
}

void OwnerDrawnButton::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press only; the repeats' releases are not real releases.
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    emit keyUp(event->key(), event->modifiers());
    if (event->key() == Qt::Key_Space) {
        release(Qt::LeftButton, event->modifiers(), kKeyPressPoint);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void OwnerDrawnButton::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void OwnerDrawnButton::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void OwnerDrawnButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) setDrawnDown(restingDown());
        update();
    }
    QWidget::changeEvent(event);
}

void OwnerDrawnButton::setDrawnDown(bool down) {
    if (down == m_drawnDown) return;
    m_drawnDown = down;
    update();
}

}  // namespace lumora
