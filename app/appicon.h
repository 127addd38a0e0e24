#pragma once
// Lumora's icon, painted here so no picture file ships with the program: an open book in the panel's
// colours.

#include <QIcon>
#include <QPixmap>

namespace lumora {

class AppIcon {
public:
    static QPixmap pixmap(int sizePx);
    static QIcon icon();
};

}  // namespace lumora
