#include "app/windowkeyfilter.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/keymapper.h"

namespace lumora {

WindowKeyFilter::WindowKeyFilter(QWidget* window, Handler handler, MenuKeyOverride menuKeyOverride,
                                 QObject* parent)
    : QObject(parent),
      m_window(window),
      m_handler(std::move(handler)),
      m_menuKeyOverride(std::move(menuKeyOverride)) {}

bool WindowKeyFilter::belongsToWindow(QObject* receiver) const {
    if (!m_window || !receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    return widget->window() == m_window;
}

bool WindowKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            if (m_handlerDepth == 0)
                m_lastPress = nullptr;
            if (!m_menuKeyOverride || !belongsToWindow(watched))
                break;
            auto* key = static_cast<QKeyEvent*>(event);
            if (m_menuKeyOverride(KeyMapper::virtualKeyCode(*key), KeyMapper::shiftBits(*key))) {
                // Accepted: the menu bar does not treat the key as an access key; the press follows.
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::KeyRelease:
            if (m_handlerDepth == 0)
                m_lastPress = nullptr;
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key == m_lastPress || !belongsToWindow(watched))
                break;
            m_lastPress = key;
            const int code = KeyMapper::virtualKeyCode(*key);
            if (code != 0 && m_handler) {
                // The handler may open a modal dialog whose own keys pass here meanwhile.
                ++m_handlerDepth;
                m_handler(code, KeyMapper::shiftBits(*key));
                --m_handlerDepth;
                m_lastPress = key;
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace lumora
