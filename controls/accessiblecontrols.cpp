#include "controls/accessiblecontrols.h"

#include <QAccessible>
#include <QWidget>

#include "controls/accessiblebutton.h"
#include "controls/accessiblegroup.h"
#include "controls/accessiblepictureslider.h"
#include "controls/accessibleverseslider.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/statusline.h"
#include "controls/verseslider.h"

namespace lumora {

namespace {

constexpr const char* kHiddenProperty = "lumoraHiddenFromAccessibility";

bool holdsHiddenChild(const QWidget* widget) {
    for (const QObject* child : widget->children()) {
        if (child->isWidgetType() && AccessibleControls::isHiddenFromTree(static_cast<const QWidget*>(child)))
            return true;
    }
    return false;
}

// Qt asks once per object, with the class names from the most derived one up; the first answer counts.
QAccessibleInterface* lumoraInterface(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* slider = qobject_cast<VerseSlider*>(object)) return new AccessibleVerseSlider(slider);
    if (auto* slider = qobject_cast<PictureSlider*>(object)) return new AccessiblePictureSlider(slider);
    if (qobject_cast<OwnerDrawnButton*>(object) != nullptr || qobject_cast<PictureButton*>(object) != nullptr)
        return new AccessibleButton(static_cast<QWidget*>(object));
    auto* widget = static_cast<QWidget*>(object);
    if (qobject_cast<StatusLine*>(object) != nullptr) return new QAccessibleWidget(widget, QAccessible::StatusBar);
    if (holdsHiddenChild(widget)) return new AccessibleGroup(widget);
    return nullptr;
}

}  // namespace

void AccessibleControls::ensureInstalled() {
    static const bool installed = [] {
        QAccessible::installFactory(lumoraInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void AccessibleControls::hideFromTree(QWidget* widget) {
    ensureInstalled();
    widget->setProperty(kHiddenProperty, true);
}

bool AccessibleControls::isHiddenFromTree(const QWidget* widget) {
    return widget->property(kHiddenProperty).toBool();
}

}  // namespace lumora
