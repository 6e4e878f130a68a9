#pragma once
// The row above the component list: the filter text and the tick buttons.
#include <QWidget>

class QLineEdit;

namespace ohmlet {

class ComponentListView;

class ComponentFilterRow : public QWidget {
    Q_OBJECT
public:
    ComponentFilterRow(ComponentListView* list, QWidget* parent = nullptr);

    QLineEdit* FilterEdit() const { return filterEdit_; }

private:
    QLineEdit* filterEdit_ = nullptr;
};

}  // namespace ohmlet
