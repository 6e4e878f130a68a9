#pragma once
// The component list as the user arranges it: sorted by any column and narrowed to
// the components whose number, name or row number holds the filter text. Rows map back
// to the document's components through mapToSource.
#include <QSortFilterProxyModel>
#include <vector>

namespace ohmlet {

class ComponentListFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ComponentListFilter(QObject* parent = nullptr);

    void SetFilterText(const QString& text);
    QString FilterText() const { return text_; }
    // The document indexes of the rows shown, top to bottom.
    std::vector<int> ShownComponents() const;

    // Sorted by row number, ascending, is the document's own order: kept without
    // sorting, so that refilling a list of hundreds of thousands stays quick.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
};

}  // namespace ohmlet
