#include "app/suracombobox.h"

#include <QKeyEvent>

#include "app/keymapper.h"
#include "recitation/keyhandler.h"

namespace lumora {

SuraComboBox::SuraComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setMaxVisibleItems(20);
}

bool SuraComboBox::isListOpen() const {
    return m_listOpen;
}

void SuraComboBox::showPopup() {
    m_listOpen = true;
    QComboBox::showPopup();
}

void SuraComboBox::hidePopup() {
    QComboBox::hidePopup();
    m_listOpen = false;
}

void SuraComboBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const bool digit = key >= Qt::Key_1 && key <= Qt::Key_9;
    // The window's key handler has already acted on its shortcuts (Home, Page Up and Page Down among
    // them): moving the box as well would act twice.
    const bool shortcut = KeyHandler::isShortcut(KeyMapper::virtualKeyCode(*event), KeyMapper::shiftBits(*event));
    if ((arrow && !m_listOpen) || digit || shortcut) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

}  // namespace lumora
