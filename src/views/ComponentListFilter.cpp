#include "views/ComponentListFilter.h"

#include "views/ComponentListModel.h"

namespace ohmlet {

ComponentListFilter::ComponentListFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(ComponentListModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

void ComponentListFilter::SetFilterText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == text_) return;
    text_ = trimmed;
    invalidateFilter();
}

void ComponentListFilter::sort(int column, Qt::SortOrder order) {
    if (column == ComponentListModel::kIndex && order == Qt::AscendingOrder) column = -1;
    QSortFilterProxyModel::sort(column, order);
}

std::vector<int> ComponentListFilter::ShownComponents() const {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(rowCount()));
    for (int r = 0; r < rowCount(); ++r) rows.push_back(mapToSource(index(r, 0)).row());
    return rows;
}

// A number typed alone also finds the row of that number ("12" finds the twelfth).
bool ComponentListFilter::filterAcceptsRow(int sourceRow, const QModelIndex& parent) const {
    if (text_.isEmpty()) return true;
    const QAbstractItemModel* model = sourceModel();
    auto text = [&](int column) {
        return model->index(sourceRow, column, parent).data(Qt::DisplayRole).toString();
    };
    if (text(ComponentListModel::kNumber).contains(text_, Qt::CaseInsensitive)) return true;
    if (text(ComponentListModel::kName).contains(text_, Qt::CaseInsensitive)) return true;
    return text(ComponentListModel::kIndex) == text_;
}

}  // namespace ohmlet
