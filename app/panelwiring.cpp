#include "app/panelwiring.h"

#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "recitation/recitationcontroller.h"

namespace lumora {

PanelWiring::PanelWiring(MainWindow& window, ControlPanel& panel, RecitationController& controller)
    : m_window(window), m_panel(panel), m_controller(controller) {
    SuraComboBox* suraBox = panel.suraBox();
    connect(suraBox, &QComboBox::currentIndexChanged, this, &PanelWiring::onSuraBoxChanged);
    connect(&controller.suraList(), &SuraList::currentIndexChanged, this, [this](int index) {
        m_syncingSuraBox = true;
        m_panel.suraBox()->setCurrentIndex(index);
        m_syncingSuraBox = false;
    });

    connect(panel.modeOption(0), &QRadioButton::clicked, this,
            [this] { m_controller.setMode(RecitationMode::Range); });
    connect(panel.modeOption(1), &QRadioButton::clicked, this,
            [this] { m_controller.setMode(RecitationMode::Verse); });

    connect(panel.playButton(), &PictureButton::click, this, [this] { m_controller.startRecitation(); });
    connect(panel.pauseButton(), &PictureButton::click, this, [this] { m_controller.pauseOrContinue(); });
    connect(panel.stopButton(), &PictureButton::click, this, [this] { m_controller.stop(); });
    connect(panel.nextButton(), &PictureButton::click, this, [this] { m_controller.nextSura(); });
    connect(panel.previousButton(), &PictureButton::click, this, [this] { m_controller.previousSura(); });

    using Purpose = RecitationController::VerseDialogPurpose;
    connect(panel.rangeBeginButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller.openVerseDialog(Purpose::SetRangeBegin); });
    connect(panel.rangeEndButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller.openVerseDialog(Purpose::SetRangeEnd); });
    connect(panel.currentVerseButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller.openVerseDialog(Purpose::MoveToVerse); });
    connect(panel.moveForwardButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller.moveRangeForward(); });
    connect(panel.moveBackwardButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller.moveRangeBackward(); });

    PictureSlider* volume = panel.volumeSlider();
    volume->setCurPosition(controller.volume().curPosition());
    connect(volume, &PictureSlider::positionChanged, this, &PanelWiring::onVolumeDragged, Qt::DirectConnection);
    connect(&controller.volume(), &VolumeModel::curPositionChanged, volume, &PictureSlider::setCurPosition);

    // Keys pressed on the volume slider and the ruler go to the window's handler, which has already seen
    // them first; nothing more to do here.
    for (int pane = 1; pane <= 4; ++pane) {
        OwnerDrawnButton* toggle = panel.visibleButton(pane);
        connect(toggle, &OwnerDrawnButton::click, this, [this, pane] { m_window.paneToggleClicked(pane); });
    }

    // The window menu's openers: the icon (left click: About), the labels and the panel's background.
    panel.iconLabel()->installEventFilter(this);
    for (QLabel* label : panel.labels()) label->installEventFilter(this);
    panel.installEventFilter(this);
}

bool PanelWiring::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool left = mouse->button() == Qt::LeftButton;
    if (watched == m_panel.iconLabel()) {
        // A left click on the program's icon opens the About window; any other button the window menu.
        if (press && !left)
            m_window.showWindowMenu(mouse->globalPosition().toPoint());
        else if (!press && left)
            m_window.showAbout();
        return true;
    }
    const auto& labels = m_panel.labels();
    const bool onLabel = std::find(labels.begin(), labels.end(), watched) != labels.end();
    // Presses on the panel's controls travel on to the panel when a control ignores them: only the
    // panel's own background counts.
    const bool onPanel = watched == &m_panel && !m_panel.childAt(mouse->position().toPoint());
    if (press && (onLabel || onPanel)) {
        m_window.showWindowMenu(mouse->globalPosition().toPoint());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PanelWiring::onSuraBoxChanged(int index) {
    if (m_syncingSuraBox)
        return;
    if (index == m_controller.suraList().currentIndex())
        return;
    (void)m_controller.selectSura(index);
}

void PanelWiring::onVolumeDragged(int32_t, int32_t& newPosition) {
    m_controller.volume().setCurPosition(newPosition);
    newPosition = m_controller.volume().curPosition();
    m_controller.applyVolume();
}

}  // namespace lumora
