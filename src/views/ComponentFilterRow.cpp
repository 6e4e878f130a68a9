#include "views/ComponentFilterRow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "views/ComponentListView.h"

namespace ohmlet {

ComponentFilterRow::ComponentFilterRow(ComponentListView* list, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    filterEdit_ = new QLineEdit(this);
    filterEdit_->setObjectName(QStringLiteral("componentFilter"));
    filterEdit_->setPlaceholderText(tr("按编号或名称筛选"));
    filterEdit_->setClearButtonEnabled(true);
    connect(filterEdit_, &QLineEdit::textChanged, list, &ComponentListView::SetFilterText);
    row->addWidget(filterEdit_, 1);
    for (QAction* action :
         {list->TickAllAction(), list->TickNoneAction(), list->TickInvertAction()}) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        row->addWidget(button);
    }
}

}  // namespace ohmlet
