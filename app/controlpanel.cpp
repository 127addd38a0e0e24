#include "app/controlpanel.h"

#include "recitation/speedmodel.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <algorithm>
#include <array>

#include "app/appicon.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "app/twips.h"
#include "controls/contrast.h"
#include "controls/controlpictures.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/tickruler.h"
#include "controls/verseslider.h"
#include "recitation/suralist.h"

namespace lumora {

namespace {

// Design geometry, twips (15 to the pixel at 96 dpi). The left block holds the sura selector, the mode
// options, the transport buttons and the volume; the right block the three slider rows, with the pane
// toggles and the range move buttons between the Range End and current-verse rows.
constexpr int kIconLeft = 60, kIconTop = 60, kIconSize = 480;
constexpr int kLeftColumn = 660;
constexpr int kSuraLabelTop = 30;
constexpr int kSuraBoxTop = 270, kSuraBoxWidth = 3600, kSuraBoxHeight = 330;
constexpr int kModeTop = 690, kModeWidth = 1560, kModeHeight = 285, kVerseModeLeft = 2280;
constexpr int kTransportTop = 1065, kTransportStep = 510;
constexpr int kVolumeLeft = 3330, kVolumeLabelTop = 1035, kVolumeTop = 1290;
constexpr int kSpeedLeft = 4230;
constexpr int kRowLabelLeft = 5070;
constexpr int kRowButtonLeft = 6390, kRowButtonWidth = 390, kRowButtonHeight = 285;
constexpr int kSliderLeft = 6870;
constexpr int kRowTops[3] = {45, 405, 1155};  // Range Begin, Range End, current verse
constexpr int kToggleTop = 855, kToggleMinWidth = 900, kToggleHeight = 285, kToggleGap = 60;
constexpr int kMoveButtonWidth = 510, kMoveButtonHeight = 240;
constexpr int kRulerTop = 1485, kRulerHeight = 120;

// `name` is what a screen reader says for a button whose caption is a symbol or dots.
OwnerDrawnButton* makeButton(const QString& caption, QWidget* parent, const QString& name = QString()) {
    auto* button = new OwnerDrawnButton(caption, parent);
    button->setAccessibleName(name);
    return button;
}

}  // namespace

ControlPanel::ControlPanel(SuraList& suras, const std::array<VerseSliderModel*, 3>& sliders, QWidget* parent)
    : QWidget(parent) {
    setAutoFillBackground(true);

    m_icon = new QLabel(this);
    m_icon->setPixmap(AppIcon::pixmap(32));

    const QString labelTexts[5] = {QStringLiteral("Select S&ura"), QStringLiteral("Range &Begin"),
                                   QStringLiteral("Range &End"), QStringLiteral("Current &Verse"),
                                   QStringLiteral("Volume")};
    for (size_t i = 0; i < m_labels.size(); ++i) m_labels[i] = new QLabel(labelTexts[i], this);

    m_suraBox = new SuraComboBox(this);
    m_suraBox->setModel(&suras);
    m_suraBox->setCurrentIndex(suras.currentIndex());
    m_labels[0]->setBuddy(m_suraBox);

    m_modeOptions[0] = new ModeOptionButton(QStringLiteral("Recite Range"), this);
    m_modeOptions[1] = new ModeOptionButton(QStringLiteral("Recite Verse"), this);
    m_modeOptions[0]->setChecked(true);

    const auto transport = [this](TransportButton kind, const QString& name) {
        auto* button = new PictureButton(ControlPictures::transportButton(kind, false),
                                         ControlPictures::transportButton(kind, true), this);
        button->setAccessibleName(name);
        return button;
    };
    m_previous = transport(TransportButton::Previous, QStringLiteral("Previous Sura"));
    m_play = transport(TransportButton::Play, QStringLiteral("Play"));
    // The play button's own tip names what it recites (the mode follows it).
    m_play->setToolTip(QStringLiteral("Recite Range"));
    m_pause = transport(TransportButton::Pause, QStringLiteral("Pause"));
    m_stop = transport(TransportButton::Stop, QStringLiteral("Stop"));
    m_next = transport(TransportButton::Next, QStringLiteral("Next Sura"));

    m_speed = new QLabel(this);
    m_speed->setToolTip(QStringLiteral("Playback speed ([ slower, ] faster, \\ normal)"));
    m_speed->hide();
    m_volume = new PictureSlider(this);
    m_volume->setImageSlider(ControlPictures::volumeTrack());
    m_volume->setImageLeft(ControlPictures::volumeFill());
    m_volume->setImagePointer(ControlPictures::volumePointer());
    (void)m_volume->setMax(1000);
    m_labels[4]->setBuddy(m_volume);

    for (size_t i = 0; i < m_sliders.size(); ++i) {
        m_sliders[i] = new VerseSlider(sliders[i], this);
        m_sliders[i]->setOrientation(Qt::Horizontal);
        m_labels[i + 1]->setBuddy(m_sliders[i]);
    }
    m_ruler = new TickRuler(this);

    m_rangeBeginButton = makeButton(QStringLiteral("..."), this, QStringLiteral("Set Range Begin"));
    m_rangeEndButton = makeButton(QStringLiteral("..."), this, QStringLiteral("Set Range End"));
    m_currentVerseButton = makeButton(QStringLiteral("..."), this, QStringLiteral("Move to Verse"));
    m_moveBackward = makeButton(QStringLiteral("\u00AB"), this, QStringLiteral("Move range backward"));
    m_moveForward = makeButton(QStringLiteral("\u00BB"), this, QStringLiteral("Move range forward"));
    for (int pane = 1; pane <= 4; ++pane) {
        auto* toggle = makeButton(QStringLiteral("Text %1").arg(pane), this);
        toggle->setCheckBox(true);
        toggle->setChecked(true);
        m_visible[static_cast<size_t>(pane - 1)] = toggle;
    }
    placeAll();
}

void ControlPanel::setDpi(double dpi) {
    m_dpi = dpi;
    placeAll();
}

void ControlPanel::place(QWidget* widget, int leftTw, int topTw, int widthTw, int heightTw) {
    QSize size = widget->size();
    if (widthTw >= 0)
        size.setWidth(Twips::toPixels(widthTw, m_dpi));
    if (heightTw >= 0)
        size.setHeight(Twips::toPixels(heightTw, m_dpi));
    widget->setGeometry(QRect(QPoint(Twips::toPixels(leftTw, m_dpi), Twips::toPixels(topTw, m_dpi)), size));
}

void ControlPanel::placeAll() {
    place(m_icon, kIconLeft, kIconTop, kIconSize, kIconSize);
    for (QLabel* label : m_labels) label->adjustSize();
    place(m_labels[0], kLeftColumn, kSuraLabelTop);
    place(m_suraBox, kLeftColumn, kSuraBoxTop, kSuraBoxWidth, kSuraBoxHeight);
    place(m_modeOptions[0], kLeftColumn, kModeTop, kModeWidth, kModeHeight);
    place(m_modeOptions[1], kVerseModeLeft, kModeTop, kModeWidth, kModeHeight);
    int left = kLeftColumn;
    for (PictureButton* button : {m_previous, m_play, m_pause, m_stop, m_next}) {
        button->resize(button->sizeHint());
        place(button, left, kTransportTop);
        left += kTransportStep;
    }
    place(m_labels[4], kVolumeLeft, kVolumeLabelTop);
    m_speed->adjustSize();
    place(m_speed, kSpeedLeft, kVolumeLabelTop);
    m_volume->resize(m_volume->sizeHint().isValid() ? m_volume->sizeHint() : m_volume->size());
    place(m_volume, kVolumeLeft, kVolumeTop);

    OwnerDrawnButton* rowButtons[3] = {m_rangeBeginButton, m_rangeEndButton, m_currentVerseButton};
    const int sliderWidthTw = m_arranged ? m_arrangement.sliderWidth : 3000;
    for (size_t row = 0; row < 3; ++row) {
        const int top = kRowTops[row];
        place(m_labels[row + 1], kRowLabelLeft, top + 45);
        place(rowButtons[row], kRowButtonLeft, top, kRowButtonWidth, kRowButtonHeight);
        m_sliders[row]->resize(m_sliders[row]->width(), m_sliders[row]->minimumHeight());
        place(m_sliders[row], kSliderLeft, top - 15, sliderWidthTw);
    }
    place(m_ruler, kSliderLeft, kRulerTop, m_arranged ? m_arrangement.verseCountWidth : 3000, kRulerHeight);
    const int backwardLeft = m_arranged ? m_arrangement.backwardButton.x() : kSliderLeft;
    place(m_moveForward, m_arranged ? m_arrangement.forwardButton.x() : kSliderLeft + kMoveButtonWidth + 100,
          m_arranged ? m_arrangement.forwardButton.y() : kToggleTop, kMoveButtonWidth, kMoveButtonHeight);
    place(m_moveBackward, backwardLeft, m_arranged ? m_arrangement.backwardButton.y() : kToggleTop,
          kMoveButtonWidth, kMoveButtonHeight);

    // The pane toggles follow one another, each as wide as its caption needs; when long captions would
    // run into the range move buttons, the four share the room before them equally.
    std::array<int, 4> toggleWidths{};
    int needed = 0;
    for (size_t i = 0; i < m_visible.size(); ++i) {
        toggleWidths[i] =
            std::max(Twips::fromPixels(m_visible[i]->sizeHint().width(), m_dpi), kToggleMinWidth);
        needed += toggleWidths[i] + kToggleGap;
    }
    const int room = backwardLeft - kToggleGap - kRowLabelLeft;
    if (needed > room) {
        const int shared = std::max(room / static_cast<int>(m_visible.size()) - kToggleGap, kToggleGap);
        toggleWidths.fill(shared);
    }
    int toggleLeft = kRowLabelLeft;
    for (size_t i = 0; i < m_visible.size(); ++i) {
        place(m_visible[i], toggleLeft, kToggleTop, toggleWidths[i], kToggleHeight);
        toggleLeft += toggleWidths[i] + kToggleGap;
    }
}

PaneGeometry::PanelControls ControlPanel::controlsTwips() const {
    PaneGeometry::PanelControls controls;
    controls.sliderLeft = kSliderLeft;
    controls.verseCountLeft = kSliderLeft;
    controls.rangeEndSlider =
        QRect(kSliderLeft, kRowTops[1] - 15, m_arranged ? m_arrangement.sliderWidth : 3000,
              Twips::fromPixels(m_sliders[1]->height(), m_dpi));
    controls.forwardButton = QSize(kMoveButtonWidth, kMoveButtonHeight);
    controls.backwardButton = QSize(kMoveButtonWidth, kMoveButtonHeight);
    return controls;
}

void ControlPanel::arrange(const PaneGeometry::WindowArrangement& arrangement) {
    m_arrangement = arrangement;
    m_arranged = true;
    placeAll();
}

void ControlPanel::changeEvent(QEvent* event) {
    // The desktop's font size changed: the captions take their new sizes.
    if (event->type() == QEvent::FontChange) placeAll();
    QWidget::changeEvent(event);
}

void ControlPanel::applyColours(const QColor& background, const QColor& text) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    // A disabled caption is dimmed, never below the contrast a caption needs.
    colours.setColor(QPalette::Disabled, QPalette::WindowText, Contrast::dimmedOn(text, background));
    setPalette(colours);
    // The sura list keeps the platform's own colours: dark text on a light field.
    m_suraBox->setPalette(QApplication::palette(m_suraBox));
    for (QLabel* label : m_labels) label->setPalette(colours);
    m_speed->setPalette(colours);
    for (ModeOptionButton* option : m_modeOptions) option->setPalette(colours);
    for (VerseSlider* slider : m_sliders) slider->setBackColor(background);
    m_ruler->setBackColor(background);
    m_volume->setMaskColor(background);
    for (OwnerDrawnButton* button :
         {m_rangeBeginButton, m_rangeEndButton, m_currentVerseButton, m_moveForward, m_moveBackward,
          m_visible[0], m_visible[1], m_visible[2], m_visible[3]}) {
        button->setBackColor(background.lighter(160));
        button->setForeColor(text);
        button->setForeColorChecked(QColor(192, 238, 192));
    }
}

}  // namespace lumora

namespace lumora {

void ControlPanel::showSpeed(int hundredths) {
    m_speed->setText(SpeedModel::text(hundredths));
    m_speed->adjustSize();
    m_speed->setVisible(hundredths != SpeedModel::kNormal);
}

}  // namespace lumora
