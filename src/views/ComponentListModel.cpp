#include "views/ComponentListModel.h"

#include <QDate>

#include "report/GbkCodec.h"
#include "report/ReportParameters.h"

namespace ohmlet {

ComponentListModel::ComponentListModel(Document& doc, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc) {}

void ComponentListModel::Reload() {
    beginResetModel();
    endResetModel();
}

void ComponentListModel::RowChanged(int row, int column) {
    if (row < 0 || row >= rowCount()) return;
    const int first = column < 0 ? 0 : column;
    const int last = column < 0 ? kColumnCount - 1 : column;
    emit dataChanged(index(row, first), index(row, last));
}

int ComponentListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : doc_.ComponentCount();
}

int ComponentListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ComponentListModel::data(const QModelIndex& index, int role) const {
    const Component* c = index.isValid() ? doc_.ComponentAt(index.row()) : nullptr;
    if (!c) return {};
    if (role == Qt::CheckStateRole && index.column() == kIndex)
        return c->selected ? Qt::Checked : Qt::Unchecked;
    if (role == kSortRole) {
        if (index.column() == kIndex) return index.row();
        if (index.column() == kPointCount) return c->pointCount;
    } else if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case kIndex:
            return QString::number(index.row() + 1);
        case kNumber:
            return FromGbk(c->Number());
        case kPointCount:
            return QString::number(c->pointCount);
        case kTestDate:
            return ShownDate(c->TestDate());
        case kName:
            return FromGbk(c->Name());
        default:
            return {};
    }
}

// The file keeps dates in Chinese; a translated window shows them in its own format,
// and the Chinese one as the file has them (spaces and all).
QString ComponentListModel::ShownDate(const std::string& stored) const {
    const QString chineseFormat = QStringLiteral("yyyy年M月d日");
    const QString format = tr("yyyy年M月d日");
    if (format == chineseFormat) return FromGbk(stored);
    const QDate date = ParseStoredDate(stored);
    return date.isValid() ? date.toString(format) : FromGbk(stored);
}

QVariant ComponentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kIndex:
            return tr("序号");
        case kNumber:
            return tr("测区编号");
        case kPointCount:
            return tr("测点数");
        case kTestDate:
            return tr("测试日期    ");
        case kName:
            return tr("构件名称");
        default:
            return {};
    }
}

Qt::ItemFlags ComponentListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kIndex) f |= Qt::ItemIsUserCheckable;
    return f;
}

// The document tells the views once the tick is stored; the row is redrawn then.
bool ComponentListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != kIndex || !doc_.ComponentAt(index.row()))
        return false;
    doc_.SetComponentSelected(index.row(), value.toInt() == Qt::Checked);
    return true;
}

}  // namespace ohmlet
