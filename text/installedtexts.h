#pragma once
// The installed texts: the names of the package files in the program's data/tdata folder, in the order
// the file system lists them, then those the user added in $XDG_DATA_HOME/lumora/tdata (a name the program
// folder has already is listed once, and the program folder's package is the one used). A pane's text menu is built from a fresh list each time it opens, so
// packages added while Lumora runs appear there; the menu refers to a text by its place in the list.

#include <QString>
#include <QStringList>

namespace lumora {

class InstalledTexts {
public:
    // appFolder: the program folder without a trailing '/'.
    explicit InstalledTexts(QString appFolder);

    // Lists the folder anew. A missing or unreadable folder gives an empty list.
    void reload();
    const QStringList& names() const { return m_names; }
    // The name at a menu position, or an empty text outside the list.
    QString name(int index) const;

    // The text names of the "*.dat" files (letter case counts) in appFolder/data/tdata and in the user's
    // folder: each file name without its ".dat" ending, so every listed name selects its own package.
    static QStringList scan(const QString& appFolder);
    // $XDG_DATA_HOME/lumora/tdata, where the user's own text packages go.
    static QString userFolder();
    // The package file of a text name: the program folder's, else the user's; the program folder's path
    // when neither exists.
    static QString packagePath(const QString& appFolder, const QString& name);

private:
    QString m_appFolder;
    QStringList m_names;
};

}  // namespace lumora
