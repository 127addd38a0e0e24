#pragma once
// What the control panel's controls do: the sura box, the mode options, the play buttons, the range and
// verse buttons, the volume slider and the pane toggles drive the recitation controller and the window;
// the controller's sura list and volume drive the panel back. The program's icon, the panel's labels and
// its bare background open the window menu (a left click on the icon opens the About window instead).

#include <QObject>
#include <cstdint>

namespace lumora {

class ControlPanel;
class MainWindow;
class RecitationController;

class PanelWiring : public QObject {
    Q_OBJECT
public:
    PanelWiring(MainWindow& window, ControlPanel& panel, RecitationController& controller);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onSuraBoxChanged(int index);
    void onVolumeDragged(int32_t oldPosition, int32_t& newPosition);

    MainWindow& m_window;
    ControlPanel& m_panel;
    RecitationController& m_controller;
    // Set while the sura box follows the controller, so that the change is not sent back.
    bool m_syncingSuraBox = false;
};

}  // namespace lumora
