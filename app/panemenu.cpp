#include "app/panemenu.h"

#include <QColorDialog>
#include <QCursor>
#include <QInputDialog>
#include <QMenu>
#include <cmath>

#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "recitation/recitationcontroller.h"
#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

QColor colourOf(uint32_t number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

uint32_t numberOf(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

// The pane's font size from the user, or nothing when the answer is not a number from 10 to 200.
std::optional<double> askTextSize(MainWindow& window, double current) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(&window, QStringLiteral("Enter text size"), QStringLiteral("Enter text size (10 to 200)"),
                              QLineEdit::Normal, QString::number(std::lround(current)), &ok);
    if (!ok)
        return std::nullopt;
    bool isNumber = false;
    const double size = answer.trimmed().toDouble(&isNumber);
    if (!isNumber || size < 10 || size > 200)
        return std::nullopt;
    return size;
}

std::optional<uint32_t> askColour(MainWindow& window, uint32_t current) {
    const QColor colour = QColorDialog::getColor(colourOf(current), &window);
    if (!colour.isValid())
        return std::nullopt;
    return numberOf(colour);
}

// Where the menu opens: at the pointer when it rests on the menu button (a click), otherwise under the
// button (opened from the keyboard, when the pointer may be anywhere on the screen).
QPoint menuPlace(const QWidget& button) {
    const QPoint pointer = QCursor::pos();
    if (button.isVisible() && button.rect().contains(button.mapFromGlobal(pointer)))
        return pointer;
    return button.mapToGlobal(QPoint(0, button.height()));
}

}  // namespace

void PaneMenu::show(MainWindow& window, int pane) {
    VerseTextAssignment& texts = *window.texts();
    RecitationController& controller = *window.controller();
    DisplayProperties& properties = texts.pane(pane);
    const QStringList installed = InstalledTexts::scan(window.appFolder());
    QMenu menu(&window);
    for (int i = 0; i < installed.size() && i < 100; ++i) {
        QAction* action = menu.addAction(QStringLiteral("&") + installed[i]);
        action->setCheckable(true);
        action->setChecked(installed[i] == properties.transName());
        action->setData(100 + i + 1);
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Text Size..."))->setData(500);
    menu.addSeparator();
    QMenu* textColour = menu.addMenu(QStringLiteral("&Text Color"));
    textColour->addAction(QStringLiteral("&Set"))->setData(1003);
    textColour->addAction(QStringLiteral("&Reset"))->setData(1002);
    QMenu* backColour = menu.addMenu(QStringLiteral("&Background Color"));
    backColour->addAction(QStringLiteral("&Set"))->setData(1001);
    backColour->addAction(QStringLiteral("&Reset"))->setData(1000);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Close"))->setData(1004);

    QAction* chosen = menu.exec(menuPlace(*window.paneFrame(pane)->transMenuButton()));
    if (!chosen)
        return;
    const int command = chosen->data().toInt();
    if (command > 100 && command <= 200 && command - 101 < installed.size()) {
        window.assignPaneText(pane, installed[command - 101]);
        if (!controller.suraNumberText().isEmpty()) {
            auto reloaded = texts.reloadSuraTexts();
            if (!reloaded)
                window.showFailure(reloaded.error());
        }
        controller.setText();
        return;
    }
    switch (command) {
        case 500:
            if (const auto size = askTextSize(window, properties.fontSize()))
                properties.setFontSize(*size);
            else
                return;
            break;
        case 1003:
            if (const auto colour = askColour(window, properties.foreColour()))
                properties.setForeColour(*colour);
            else
                return;
            break;
        case 1002:
            properties.setForeColour(0);
            break;
        case 1001:
            if (const auto colour = askColour(window, properties.backColour()))
                properties.setBackColour(*colour);
            else
                return;
            break;
        case 1000:
            properties.setBackColour(kDefaultPaneBack);
            break;
        default:
            return;
    }
    controller.setText();
}

}  // namespace lumora
