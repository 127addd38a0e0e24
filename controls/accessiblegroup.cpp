#include "controls/accessiblegroup.h"

#include <QMenu>

#include "controls/accessiblecontrols.h"

namespace lumora {

AccessibleGroup::AccessibleGroup(QWidget* widget) : QAccessibleWidget(widget) {}

QList<QWidget*> AccessibleGroup::shownChildren() const {
    QList<QWidget*> shown;
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        // Windows and menus are children of the window system, not of this widget's face.
        if (child == nullptr || child->isWindow() || qobject_cast<QMenu*>(child) != nullptr ||
            AccessibleControls::isHiddenFromTree(child))
            continue;
        shown.append(child);
    }
    return shown;
}

int AccessibleGroup::childCount() const { return static_cast<int>(shownChildren().size()); }

QAccessibleInterface* AccessibleGroup::child(int index) const {
    const QList<QWidget*> shown = shownChildren();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
}

int AccessibleGroup::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr) return -1;
    return static_cast<int>(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
}

}  // namespace lumora
