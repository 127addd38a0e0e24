#pragma once
// The view of a text pane: shows a page exactly as the page builder wrote it (clear, write, close) and
// reports what the user does in it. A left or right button released over the pane asks for the "click" or
// "right" target; the word link under the pointer is reported as the status text (the word's meaning) and
// drawn highlighted. Links never navigate.

#include <QString>
#include <QTextBrowser>

#include "text/pageview.h"

namespace lumora {

class TextPane : public QTextBrowser, public PageView {
    Q_OBJECT
public:
    static constexpr int kDocumentMarginPx = 5;
    static QColor hoverColour() { return QColor(0xC0, 0xEE, 0xC0); }

    explicit TextPane(QWidget* parent = nullptr);

    // Starts a new page; the shown one stays until close().
    void clear() override;
    // Appends to the page being written.
    void write(const QString& html) override;
    // Shows the written page.
    void close() override;

    // The page last shown, exactly as written.
    QString page() const { return m_page; }
    // The target of the link under the pointer, empty when there is none.
    QString statusText() const { return m_statusText; }
    // The shown text without markup, for copying.
    QString plainText() const { return toPlainText(); }

    // The page as the view renders it: the body's BGCOLOR value gains the "#" it needs to be read as a
    // colour. Nothing else changes.
    static QString renderedCopy(const QString& page);

signals:
    // "click" for a left button released over the pane, "right" for a right one.
    void navigationRequested(const QString& target);
    // The left button was released over a link (before navigationRequested("click")).
    void linkClicked(const QString& target);
    void statusTextChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hoverAt(const QPoint& viewportPos);
    void setStatusText(const QString& text);
    // Selects the run of characters around `position` that belong to the link `target`.
    QTextCursor linkRun(int position, const QString& target) const;

    QString m_pending;
    QString m_page;
    QString m_statusText;
};

}  // namespace lumora
