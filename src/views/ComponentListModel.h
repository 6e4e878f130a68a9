#pragma once
// The component list over the document: one row per component, texts made when a
// row is drawn, the tick in the first column. A tick the user sets is an edit of the
// document, so it is undoable and every output sees it.
#include <QAbstractTableModel>
#include <string>

#include "data/Document.h"

namespace ohmlet {

class ComponentListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The name comes last, so the first four columns stay where they always were.
    enum Column { kIndex, kNumber, kPointCount, kTestDate, kName, kColumnCount };
    // What the list sorts by: numbers for the counting columns, texts otherwise.
    static constexpr int kSortRole = Qt::UserRole;

    explicit ComponentListModel(Document& doc, QObject* parent = nullptr);

    // The document's list changed as a whole (open, insert, delete, undo).
    void Reload();
    // One component's row changed (its tick or its point count).
    void RowChanged(int row, int column = -1);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QString ShownDate(const std::string& stored) const;

    Document& doc_;
};

}  // namespace ohmlet
