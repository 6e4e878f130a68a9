#include "views/ControlPanel.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "report/GbkCodec.h"
#include "report/ReportParameters.h"
#include "views/ComponentListModel.h"

namespace ohmlet {
namespace {

struct FieldLayout {
    ControlPanel::Field field;
    const char* label;       // UTF-8
    const char* objectName;  // the edit's objectName
    bool readOnly;
    bool visible;
    int row;
    int column;  // 0 = left pair, 1 = right pair
};

// Shown fields first, in reading order; the hidden ones are still filled.
constexpr FieldLayout kFields[] = {
    {ControlPanel::kName, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "构件名称"), "nameField", false,
     true, 0, 0},
    {ControlPanel::kNumber, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "构件编号"), "numberField",
     true, true, 0, 1},
    {ControlPanel::kDesignValue, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "设计厚度"),
     "designValueField", false, false, 2, 0},
    {ControlPanel::kUpperTolerance, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "允许正偏差"),
     "upperToleranceField", false, false, 2, 1},
    {ControlPanel::kLowerTolerance, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "允许负偏差"),
     "lowerToleranceField", false, false, 3, 0},
    {ControlPanel::kMaximum, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "电阻最大值"),
     "maximumField", true, true, 4, 0},
    {ControlPanel::kMinimum, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "电阻最小值"),
     "minimumField", true, true, 4, 1},
    {ControlPanel::kPointCount, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "数据个数"),
     "pointCountField", true, true, 5, 0},
    {ControlPanel::kAverage, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "平均电阻率"),
     "averageField", true, true, 5, 1},
    {ControlPanel::kPassCount, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "合格点数"),
     "passCountField", true, false, 6, 0},
    {ControlPanel::kPassRate, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "合格率"), "passRateField",
     true, false, 6, 1},
};

constexpr FieldLayout kTotals[] = {
    {ControlPanel::kTotalPoints, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "所有测点个数"),
     "totalPointsField", true, false, 0, 0},
    {ControlPanel::kTotalPassing, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "所有合格测点数"),
     "totalPassingField", true, false, 0, 1},
    {ControlPanel::kOverallPassRate, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "整体合格率"),
     "overallPassRateField", true, false, 1, 0},
};

QString Resistivity(float value) {
    return QString::asprintf("%.1f kΩ*cm", static_cast<double>(value));
}
QString Percent(float rate) {
    return QString::asprintf("%.1f", static_cast<double>(rate) * 100.0) + QLatin1Char('%');
}

// The longest prefix of text whose GBK bytes fit, never splitting a character.
std::string GbkPrefix(const QString& text, std::size_t maxBytes) {
    std::string bytes = ToGbk(text);
    if (bytes.size() <= maxBytes) return bytes;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t len = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return bytes.substr(0, i);
}

}  // namespace

ControlPanel::ControlPanel(Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildList();
    BuildFields();
    layout->addWidget(list_, 37);
    layout->addWidget(currentGroup_, 0);
    layout->addWidget(totalsGroup_, 0);
    layout->addStretch(1);
    doc_.AddObserver(this);
}

ControlPanel::~ControlPanel() { doc_.RemoveObserver(this); }

void ControlPanel::BuildList() {
    // A table rather than a tree: it keeps no item per row, so a list of hundreds of
    // thousands of components refills at once.
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("componentList"));
    listModel_ = new ComponentListModel(doc_, list_);
    list_->setModel(listModel_);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const int widths[] = {50, 80, 65, 120};
    for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, widths[c]);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setSectionsMovable(false);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
}

QLineEdit* ControlPanel::AddField(Field field, const char* objectName, bool readOnly,
                                  bool visible) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(readOnly);
    edit->setObjectName(QString::fromLatin1(objectName));
    if (!visible) edit->setVisible(false);
    edits_[field] = edit;
    return edit;
}

void ControlPanel::BuildFields() {
    currentGroup_ = new QGroupBox(tr("当前构件"), this);
    auto* grid = new QGridLayout(currentGroup_);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (const FieldLayout& f : kFields) {
        auto* label = new QLabel(tr(f.label));
        QLineEdit* edit = AddField(f.field, f.objectName, f.readOnly, f.visible);
        label->setBuddy(edit);
        if (!f.visible) label->setVisible(false);
        grid->addWidget(label, f.row, f.column * 2);
        grid->addWidget(edit, f.row, f.column * 2 + 1);
    }
    datePicker_ = new QDateEdit;
    datePicker_->setObjectName(QStringLiteral("testDate"));
    datePicker_->setDisplayFormat(tr("yyyy年M月d日"));
    datePicker_->setCalendarPopup(true);
    datePicker_->setDate(QDate::currentDate());
    auto* dateLabel = new QLabel(tr("测试日期"));
    dateLabel->setBuddy(datePicker_);
    grid->addWidget(dateLabel, 1, 0);
    grid->addWidget(datePicker_, 1, 1);

    totalsGroup_ = new QGroupBox(tr("全部构件"), this);
    auto* totals = new QGridLayout(totalsGroup_);
    for (const FieldLayout& f : kTotals) {
        auto* label = new QLabel(tr(f.label));
        totals->addWidget(label, f.row, f.column * 2);
        totals->addWidget(AddField(f.field, f.objectName, f.readOnly, f.visible), f.row,
                          f.column * 2 + 1);
    }
    totalsGroup_->setVisible(false);

    connect(Edit(kName), &QLineEdit::textEdited, this, &ControlPanel::OnNameEdited);
    connect(datePicker_, &QDateEdit::dateChanged, this, &ControlPanel::OnDateChanged);
}

QLineEdit* ControlPanel::Edit(Field field) const {
    return field >= 0 && field < kFieldCount ? edits_[field] : nullptr;
}

void ControlPanel::ShowTotals() {
    Edit(kTotalPoints)->setText(QString::number(doc_.TotalPointCount()));
    Edit(kTotalPassing)->setText(QString::number(doc_.TotalPassCount()));
    Edit(kOverallPassRate)->setText(Percent(doc_.OverallPassRate()));
}

// The document has brought max, min, pass count and totals up to date already.
void ControlPanel::ShowComponent(const Component* c) {
    pushing_ = true;
    if (!c) {
        for (QLineEdit* edit : edits_)
            if (edit) edit->clear();
        pushing_ = false;
        return;
    }
    Edit(kName)->setText(FromGbk(c->Name()));
    Edit(kNumber)->setText(FromGbk(c->Number()));
    Edit(kDesignValue)->setText(QString::number(c->DesignValue()));
    Edit(kUpperTolerance)->setText(QString::number(c->UpperTolerance()));
    Edit(kLowerTolerance)->setText(QString::number(c->LowerTolerance()));
    Edit(kMaximum)->setText(Resistivity(c->maxValue));
    Edit(kMinimum)->setText(Resistivity(c->minValue));
    Edit(kPointCount)->setText(QString::number(c->pointCount));
    Edit(kAverage)->setText(Resistivity(c->ComputeAverage()));
    Edit(kPassCount)->setText(QString::number(SaturateToInt(c->passCount)));
    Edit(kPassRate)->setText(Percent(c->passRate));
    ShowTotals();
    auto* label = new QLabel(tr(f.label));
    QLineEdit* edit = AddField(f.field, f.objectName, f.readOnly, f.visible);
    if (date.isValid()) datePicker_->setDate(date);
    pushing_ = false;
}

// The rows read the document when drawn: a refresh costs nothing per component, and
// the ticks shown are always the document's.
void ControlPanel::RefreshComponentList() {
    listModel_->Reload();
    const QModelIndex current = listModel_->index(doc_.CurrentIndex(), 0);
    if (current.isValid())
        list_->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ShowTotals();
}

void ControlPanel::RefreshPointCount() {
    if (doc_.CurrentComponent())
        listModel_->RowChanged(doc_.CurrentIndex(), ComponentListModel::kPointCount);
}

void ControlPanel::RefreshComponentRow(int index) { listModel_->RowChanged(index); }

// The first selected row, scanning from the top, becomes the current component.
void ControlPanel::PickSelectedRow() {
    int first = -1;
    for (const QModelIndex& row : list_->selectionModel()->selectedRows())
        if (first < 0 || row.row() < first) first = row.row();
    if (first >= 0) doc_.SelectComponent(first);
    list_->setFocus();
}

// A click acts once the list has moved its selection; a key acts before, on the
// row that was selected when the key went down.
bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        PickSelectedRow();
    } else if (watched == list_ && event->type() == QEvent::KeyPress) {
        PickSelectedRow();
    }
    return QWidget::eventFilter(watched, event);
}

void ControlPanel::OnNameEdited(const QString& text) {
    if (pushing_ || !doc_.CurrentComponent()) return;
    doc_.SetComponentName(GbkPrefix(text, Component::kNameWidth - 1));
    emit DocumentEdited();
}

auto* label = new QLabel(tr(f.label));
QLineEdit* edit = AddField(f.field, f.objectName, f.readOnly, f.visible);
emit DocumentEdited();
}

}  // namespace ohmlet
