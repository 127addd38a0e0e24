#pragma once
// One of the four text panes of the main window: a header strip (the text's caption, the text menu,
// font size, copy and information buttons, and the word-by-word hint) above the text view. The window
// places the frame; the frame places its children from its own size, in twips like the rest of the
// window's geometry.

#include <QString>
#include <QWidget>

class QLabel;

namespace lumora {

class OwnerDrawnButton;
class TextPane;

class TextPaneFrame : public QWidget {
    Q_OBJECT
public:
    static const QString kWordByWordHint;

    // pane: 1..4.
    TextPaneFrame(int pane, QWidget* parent = nullptr);

    int pane() const { return m_pane; }
    // The control name the separators' tags use ("picText1").
    QString name() const;
    TextPane* view() const { return m_view; }
    QLabel* captionLabel() const { return m_caption; }
    QLabel* wordTipLabel() const { return m_wordTip; }
    OwnerDrawnButton* transMenuButton() const { return m_transMenu; }
    OwnerDrawnButton* plusButton() const { return m_plus; }
    OwnerDrawnButton* minusButton() const { return m_minus; }
    OwnerDrawnButton* copyButton() const { return m_copy; }
    OwnerDrawnButton* infoButton() const { return m_info; }

    // The logical dots per inch the twips of the frame's geometry are converted with.
    void setDpi(double dpi);
    // The caption of the text shown; the header buttons follow it.
    void setCaption(const QString& caption);
    void setWordTipVisible(bool visible);
    void applyColours(const QColor& background, const QColor& text);

signals:
    void transMenuClicked(int pane);
    void plusClicked(int pane);
    void minusClicked(int pane);
    void copyClicked(int pane);
    void infoClicked(int pane);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutHeader();
    void layoutInterior();

    int m_pane;
    double m_dpi = 96.0;
    QLabel* m_caption;
    OwnerDrawnButton* m_transMenu;
    OwnerDrawnButton* m_plus;
    OwnerDrawnButton* m_minus;
    OwnerDrawnButton* m_copy;
    OwnerDrawnButton* m_info;
    QLabel* m_wordTip;
    bool m_wordTipWanted = false;
    QSize m_wordTipNaturalSize;
    TextPane* m_view;
};

}  // namespace lumora
