#pragma once
// The accessible interface of a widget that holds children marked hidden from the tree: like any plain
// widget's, except that those children are not counted among its children.

#include <QAccessibleWidget>
#include <QList>

namespace lumora {

class AccessibleGroup : public QAccessibleWidget {
public:
    explicit AccessibleGroup(QWidget* widget);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> shownChildren() const;
};

}  // namespace lumora
