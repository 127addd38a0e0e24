#pragma once
// The control panel across the top of the main window: the sura selector, the mode options, the
// transport buttons, the volume, the three verse sliders with their buttons and the tick ruler, the
// four text pane toggles and the range move buttons. It only holds and places the controls; the window
// connects them. Design geometry is in twips; the window's resize rules then change the widths of the
// sliders and the ruler and the places of the range move buttons.

#include <QRect>
#include <QWidget>
#include <array>

#include "app/panegeometry.h"

class QLabel;

namespace lumora {

class ModeOptionButton;
class OwnerDrawnButton;
class PictureButton;
class PictureSlider;
class SuraComboBox;
class SuraList;
class TickRuler;
class VerseSlider;
class VerseSliderModel;

class ControlPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = PaneGeometry::kPanelHeightTwips;

    ControlPanel(SuraList& suras, const std::array<VerseSliderModel*, 3>& sliders, QWidget* parent = nullptr);

    void setDpi(double dpi);
    double dpi() const { return m_dpi; }

    SuraComboBox* suraBox() const { return m_suraBox; }
    QLabel* iconLabel() const { return m_icon; }
    // The panel's labels ("Select S&ura", "Range &Begin", "Range &End", "Current &Verse", "Volume").
    const std::array<QLabel*, 5>& labels() const { return m_labels; }
    // 0 range mode, 1 verse mode.
    ModeOptionButton* modeOption(int index) const { return m_modeOptions.at(static_cast<size_t>(index)); }
    PictureButton* previousButton() const { return m_previous; }
    PictureButton* playButton() const { return m_play; }
    PictureButton* pauseButton() const { return m_pause; }
    PictureButton* stopButton() const { return m_stop; }
    PictureButton* nextButton() const { return m_next; }
    PictureSlider* volumeSlider() const { return m_volume; }
    // 0 Range Begin, 1 Range End, 2 current verse.
    VerseSlider* slider(int index) const { return m_sliders.at(static_cast<size_t>(index)); }
    TickRuler* ruler() const { return m_ruler; }
    OwnerDrawnButton* rangeBeginButton() const { return m_rangeBeginButton; }
    OwnerDrawnButton* rangeEndButton() const { return m_rangeEndButton; }
    OwnerDrawnButton* currentVerseButton() const { return m_currentVerseButton; }
    OwnerDrawnButton* moveForwardButton() const { return m_moveForward; }
    OwnerDrawnButton* moveBackwardButton() const { return m_moveBackward; }
    // Pane 1..4's display toggle (a check-box button).
    OwnerDrawnButton* visibleButton(int pane) const { return m_visible.at(static_cast<size_t>(pane - 1)); }

    // What the window resize needs to know of the panel, in twips.
    PaneGeometry::PanelControls controlsTwips() const;
    // Applies the window resize's widths and places (twips).
    void arrange(const PaneGeometry::WindowArrangement& arrangement);

    void applyColours(const QColor& background, const QColor& text);
    // Shows the playback speed beside the volume while it is not the normal speed.
    void showSpeed(int hundredths);
    QLabel* speedLabel() const { return m_speed; }
    // Places the controls again (after a caption changed its width).
    void relayout() { placeAll(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void place(QWidget* widget, int leftTw, int topTw, int widthTw = -1, int heightTw = -1);
    void placeAll();

    double m_dpi = 96.0;
    PaneGeometry::WindowArrangement m_arrangement;
    bool m_arranged = false;

    QLabel* m_icon;
    QLabel* m_speed;
    std::array<QLabel*, 5> m_labels{};
    SuraComboBox* m_suraBox;
    std::array<ModeOptionButton*, 2> m_modeOptions{};
    PictureButton* m_previous;
    PictureButton* m_play;
    PictureButton* m_pause;
    PictureButton* m_stop;
    PictureButton* m_next;
    PictureSlider* m_volume;
    std::array<VerseSlider*, 3> m_sliders{};
    TickRuler* m_ruler;
    OwnerDrawnButton* m_rangeBeginButton;
    OwnerDrawnButton* m_rangeEndButton;
    OwnerDrawnButton* m_currentVerseButton;
    OwnerDrawnButton* m_moveForward;
    OwnerDrawnButton* m_moveBackward;
    std::array<OwnerDrawnButton*, 4> m_visible{};
};

}  // namespace lumora
