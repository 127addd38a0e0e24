#pragma once
// Gives the main window's key handler the first sight of every key pressed in that window, before the
// focused control sees it (the control still gets the key afterwards unless it swallows it itself).
// Installed on the application; keys pressed in menus, popups and dialogs are not the window's.

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace lumora {

class WindowKeyFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int keyCode, int shift)>;
    // Alt combinations the window takes for itself while this answers true, rather than letting the menu
    // bar open the menu whose access key they are.
    using MenuKeyOverride = std::function<bool(int keyCode, int shift)>;

    WindowKeyFilter(QWidget* window, Handler handler, MenuKeyOverride menuKeyOverride = {},
                    QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(QObject* receiver) const;

    QPointer<QWidget> m_window;
    Handler m_handler;
    MenuKeyOverride m_menuKeyOverride;
    // A key press that the focused control ignores travels on to its parents and passes this filter
    // again; the handler must see it once. The press is forgotten at the next key release or shortcut
    // check, which every new key press is preceded or followed by (not while the handler runs: it may
    // open a modal dialog, and the press travels on after the dialog closes).
    const QKeyEvent* m_lastPress = nullptr;
    int m_handlerDepth = 0;
};

}  // namespace lumora
