#pragma once
// The window's "Find a Verse": the Go to menu's "&Find..." command (Ctrl+F, which the key handler owns),
// the index loader over the program folder's texts, and the find dialog, made when first opened and kept.
// A verse chosen in the dialog becomes the current verse through the recitation controller.

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

namespace lumora {

class CommandTable;
class FindDialog;
class IndexLoader;
class RecitationController;

class VerseFinder : public QObject {
    Q_OBJECT
public:
    VerseFinder(RecitationController& controller, const QString& appFolder, QWidget* window);
    ~VerseFinder() override;

    void addCommand(CommandTable& commands);
    // Opens the dialog (making it the first time) with the focus in its search box.
    void show();
    // Null before the first show().
    FindDialog* dialog() const { return m_dialog; }

private:
    RecitationController& m_controller;
    QWidget* m_window;
    std::unique_ptr<IndexLoader> m_loader;
    FindDialog* m_dialog = nullptr;
};

}  // namespace lumora
