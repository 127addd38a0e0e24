#pragma once
// The sura selector. Its keys are the window's shortcuts first: while the list is closed it swallows the
// arrow keys (they would change the sura), and it always swallows the typed digits 1 to 9 (they set the
// range length); "0", letters and the keys of an open list work as in any list box.

#include <QComboBox>

namespace lumora {

class SuraComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit SuraComboBox(QWidget* parent = nullptr);

    bool isListOpen() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showPopup() override;
    void hidePopup() override;

private:
    bool m_listOpen = false;
};

}  // namespace lumora
