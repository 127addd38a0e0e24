#include "app/clipboardlink.h"

#include <QClipboard>

namespace lumora {

ClipboardLink::ClipboardLink(QClipboard* clipboard, QObject* parent)
    : QObject(parent), m_clipboard(clipboard) {
    connect(m_clipboard, &QClipboard::dataChanged, this, &ClipboardLink::onClipboardChanged);
}

void ClipboardLink::copyText(const QString& text) {
    m_copying = true;
    m_ownText = text;
    m_clipboard->setText(text);
    m_copying = false;
}

void ClipboardLink::onClipboardChanged() {
    if (m_copying)
        return;
    const QString text = m_clipboard->text();
    if (!m_ownText.isNull()) {
        if (text == m_ownText && m_clipboard->ownsClipboard())
            return;
        m_ownText = QString();
    }
    if (!m_ready)
        return;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    emit textCopied(trimmed);
}

}  // namespace lumora
