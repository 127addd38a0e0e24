#pragma once
// Watches the system clipboard for text that another program copies, so that a verse reference such as
// 2:255 or 36:1-12 moves the player there. It stays silent until the window has finished starting
// (ready), ignores empty text, and ignores the window's own copies made through copyText().

#include <QObject>
#include <QString>

class QClipboard;

namespace lumora {

class ClipboardLink : public QObject {
    Q_OBJECT
public:
    explicit ClipboardLink(QClipboard* clipboard, QObject* parent = nullptr);

    bool isReady() const { return m_ready; }
    void setReady(bool ready) { m_ready = ready; }

    // Puts text on the clipboard as the window's own copy; the link does not act on it.
    void copyText(const QString& text);

signals:
    // Copied text, blanks around it removed, never empty.
    void textCopied(const QString& text);

private:
    void onClipboardChanged();

    QClipboard* m_clipboard;
    bool m_ready = false;
    bool m_copying = false;
    // The text of the window's last own copy while the window still owns the clipboard; platforms that
    // report the change later than the copy are recognised by it.
    QString m_ownText;
};

}  // namespace lumora
