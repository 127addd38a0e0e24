#pragma once
// Lumora's own push button, used for every button of the panel, the panes and the equalizer. It can act
// as a check box that stays down while checked and then draws its caption in a second colour. Its caption
// may carry an access key ("&Close"), which clicks it.

#include <QColor>
#include <QString>
#include <QWidget>

namespace lumora {

class OwnerDrawnButton : public QWidget {
    Q_OBJECT
public:
    // buttonType() values: a flat face, classic square 3D edges, or a rounded face (the default).
    static constexpr int kFlatButton = 0;
    static constexpr int kClassicButton = 1;
    static constexpr int kRoundedButton = 2;
    // colorScheme() values: the platform's button colours, or the button's own colours (the default).
    static constexpr int kSystemColours = 0;
    static constexpr int kOwnColours = 1;

    explicit OwnerDrawnButton(QWidget* parent = nullptr);
    explicit OwnerDrawnButton(const QString& caption, QWidget* parent = nullptr);

    int buttonType() const { return m_buttonType; }
    void setButtonType(int type);
    bool isCheckBox() const { return m_isCheckBox; }
    void setCheckBox(bool isCheckBox);
    bool checked() const { return m_checked; }
    // Draws the down state when true and the up state when false; raises no click().
    void setChecked(bool checked);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // A caption as shown: "&&" is one ampersand, a single "&" only marks the access key.
    static QString shownCaption(const QString& caption);
    int colorScheme() const { return m_colorScheme; }
    void setColorScheme(int scheme);
    bool showFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool show);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& colour);
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& colour);
    QColor foreColorChecked() const { return m_foreColorChecked; }
    void setForeColorChecked(const QColor& colour);

    // Whether the button is drawn pressed in.
    bool isDrawnDown() const { return m_drawnDown; }
    // The colour the caption is drawn in now. Disabled, it is the enabled colour dimmed only as far as
    // it stays readable on the face.
    QColor captionColour() const;
    // The colour the button's face is filled with.
    QColor faceColour() const;
    // Acts as a left click, as the access key does: a check box toggles, and click() follows. Used by
    // assistive technology's press action. Nothing happens while disabled.
    void activate();

    QSize sizeHint() const override;

signals:
    void click();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void keyPress(const QString& text);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at);
    void release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at);
    void clickAction();
    // Tells assistive technology that the checked state changed.
    void announceChecked();
    void setDrawnDown(bool down);
    // A check box at rest shows its checked state; a push button at rest is up.
    bool restingDown() const { return m_isCheckBox && m_checked; }

    int m_buttonType = kRoundedButton;
    bool m_isCheckBox = false;
    bool m_checked = false;
    QString m_caption;
    int m_colorScheme = kOwnColours;
    bool m_showFocusRect = true;
    QColor m_backColor;
    QColor m_foreColor;
    QColor m_foreColorChecked;

    Qt::MouseButton m_lastButton = Qt::NoButton;
    bool m_drawnDown = false;
    int m_shortcutId = 0;
};

}  // namespace lumora
