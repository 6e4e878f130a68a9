#include "dialogs/GridDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "data/MapData.h"
#include "dialogs/GridPreview.h"
#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

constexpr double kMaxSpacingMm = 100000;
constexpr double kMaxProbeSpacingMm = 1000;
constexpr double kLowestTemperatureC = -50;
constexpr double kHighestTemperatureC = 100;
constexpr int kMaxTextLength = 200;

// An empty field is a value not given; anything else must be a number in range.
struct Number {
    bool ok = true;
    std::optional<double> value;
};

Number ParseNumber(const QString& text, double low, double high, bool lowIncluded) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok) v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v) || v > high || v < low || (!lowIncluded && v == low))
        return {false, std::nullopt};
    return {true, v};
}

Number Spacing(const QLineEdit* edit) { return ParseNumber(edit->text(), 0, kMaxSpacingMm, false); }

QString NumberText(std::optional<double> value) {
    return value ? QString::number(*value, 'g', 10) : QString();
}

QSpinBox* MakeSideBox(const char* name) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, SurveyGrid::kMaxSide);
    return box;
}

QLineEdit* MakeEdit(const char* name, const QString& placeholder = QString()) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kMaxTextLength);
    edit->setPlaceholderText(placeholder);
    return edit;
}

QString ComponentLabel(const Component& c) {
    QString label = FromGbk(c.Number());
    const QString name = FromGbk(c.Name()).trimmed();
    if (!name.isEmpty()) label += QStringLiteral(" ") + name;
    return label;
}

}  // namespace

GridDialog::GridDialog(const Document& document, QWidget* parent)
    : QDialog(parent),
      rows_(MakeSideBox("rows")),
      columns_(MakeSideBox("columns")),
      spacingX_(MakeEdit("spacingX", tr("未设"))),
      spacingY_(MakeEdit("spacingY", tr("未设"))),
      order_(new QComboBox),
      corner_(new QComboBox),
      probe_(MakeEdit("probeSpacing", tr("未设"))),
      temperature_(MakeEdit("temperature", tr("未设"))),
      moisture_(MakeEdit("moisture", tr("例如：干燥、潮湿、饱水"))),
      surface_(MakeEdit("surface", tr("例如：打磨、湿润"))),
      note_(MakeEdit("note")),
      preview_(new GridPreview),
      placement_(new QLabel),
      problem_(new QLabel),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(tr("测区网格"));
    auto* left = new QVBoxLayout;
    left->addWidget(MakeGridBox());
    left->addWidget(MakeConditionsBox());
    left->addWidget(MakeScopeBox(document));
    auto* right = new QVBoxLayout;
    right->addWidget(preview_, 1);
    placement_->setObjectName(QStringLiteral("placement"));
    placement_->setWordWrap(true);
    right->addWidget(placement_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    layout->addWidget(problem_);
    clear_ = buttons_->addButton(tr("清除网格"), QDialogButtonBox::ResetRole);
    clear_->setObjectName(QStringLiteral("clearGrid"));
    layout->addWidget(buttons_);

    ShowStartValues(document.CurrentComponent());

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear_, &QPushButton::clicked, this, [this] {
        clearing_ = true;
        accept();
    });
    for (QSpinBox* box : {rows_, columns_})
        connect(box, &QSpinBox::valueChanged, this, &GridDialog::Update);
    for (QLineEdit* edit : {spacingX_, spacingY_, probe_, temperature_})
        connect(edit, &QLineEdit::textChanged, this, &GridDialog::Update);
    for (QComboBox* box : {order_, corner_})
        connect(box, &QComboBox::currentIndexChanged, this, &GridDialog::Update);
    connect(current_, &QRadioButton::toggled, this, &GridDialog::Update);
    Update();
}

// The current component's grid, else the one its kind suggests, else one row of its
// readings; and its conditions.
void GridDialog::ShowStartValues(const Component* current) {
    SurveyGrid grid;
    grid.rows = 1;
    if (current) {
        hasCurrent_ = true;
        readings_ = current->HeldPointCount();
        grid.columns = std::clamp(readings_, 1, SurveyGrid::kMaxSide);
        if (current->extras.grid && HasUsableSides(*current->extras.grid))
            grid = *current->extras.grid;
        else if (const std::optional<SurveyGrid> suggested = SuggestedGrid(*current))
            grid = *suggested;
    }
    Fill(grid, current ? current->extras.conditions : SurveyConditions());
}

QWidget* GridDialog::MakeGridBox() {
    auto* box = new QGroupBox(tr("网格"));
    auto* form = new QFormLayout(box);
    form->addRow(tr("行数"), rows_);
    form->addRow(tr("列数"), columns_);
    form->addRow(tr("列间距 (mm)"), spacingX_);
    form->addRow(tr("行间距 (mm)"), spacingY_);
    order_->setObjectName(QStringLiteral("order"));
    order_->addItem(tr("逐行，每行从同一侧开始"), static_cast<int>(ReadingOrder::Rows));
    order_->addItem(tr("逐行往返（蛇形）"), static_cast<int>(ReadingOrder::SerpentineRows));
    order_->addItem(tr("逐列，每列从同一侧开始"), static_cast<int>(ReadingOrder::Columns));
    order_->addItem(tr("逐列往返（蛇形）"), static_cast<int>(ReadingOrder::SerpentineColumns));
    form->addRow(tr("测读顺序"), order_);
    corner_->setObjectName(QStringLiteral("corner"));
    corner_->addItem(tr("左上"), static_cast<int>(GridCorner::TopLeft));
    corner_->addItem(tr("右上"), static_cast<int>(GridCorner::TopRight));
    corner_->addItem(tr("左下"), static_cast<int>(GridCorner::BottomLeft));
    corner_->addItem(tr("右下"), static_cast<int>(GridCorner::BottomRight));
    form->addRow(tr("第一个读数"), corner_);
    return box;
}

QWidget* GridDialog::MakeConditionsBox() {
    auto* box = new QGroupBox(tr("测量条件"));
    auto* form = new QFormLayout(box);
    form->addRow(tr("探头间距 (mm)"), probe_);
    form->addRow(tr("混凝土温度 (°C)"), temperature_);
    form->addRow(tr("含水状态"), moisture_);
    form->addRow(tr("表面状况"), surface_);
    form->addRow(tr("备注"), note_);
    return box;
}

QWidget* GridDialog::MakeScopeBox(const Document& document) {
    for (const Component& c : document.Components()) tickedCount_ += c.selected != 0 ? 1 : 0;
    const Component* current = document.CurrentComponent();
    auto* box = new QGroupBox(tr("应用于"));
    auto* layout = new QVBoxLayout(box);
    current_ = new QRadioButton(current ? tr("当前构件 %1").arg(ComponentLabel(*current))
                                        : tr("当前构件（无）"));
    ticked_ = new QRadioButton(tr("所有勾选的构件（%1 个）").arg(tickedCount_));
    current_->setObjectName(QStringLiteral("currentScope"));
    ticked_->setObjectName(QStringLiteral("tickedScope"));
    layout->addWidget(current_);
    layout->addWidget(ticked_);
    (current || tickedCount_ == 0 ? current_ : ticked_)->setChecked(true);
    return box;
}

void GridDialog::Fill(const SurveyGrid& grid, const SurveyConditions& conditions) {
    rows_->setValue(grid.rows);
    columns_->setValue(grid.columns);
    const bool spaced = grid.spacingXmm > 0 && grid.spacingYmm > 0;
    spacingX_->setText(spaced ? NumberText(grid.spacingXmm) : QString());
    spacingY_->setText(spaced ? NumberText(grid.spacingYmm) : QString());
    order_->setCurrentIndex(order_->findData(static_cast<int>(grid.order)));
    corner_->setCurrentIndex(corner_->findData(static_cast<int>(grid.firstCorner)));
    probe_->setText(NumberText(conditions.probeSpacingMm));
    temperature_->setText(NumberText(conditions.concreteTemperatureC));
    moisture_->setText(QString::fromStdString(conditions.moistureState));
    surface_->setText(QString::fromStdString(conditions.surfaceCondition));
    note_->setText(QString::fromStdString(conditions.note));
}

SurveyGrid GridDialog::Grid() const {
    SurveyGrid grid;
    grid.rows = rows_->value();
    grid.columns = columns_->value();
    grid.spacingXmm = Spacing(spacingX_).value.value_or(0);
    grid.spacingYmm = Spacing(spacingY_).value.value_or(0);
    grid.order = static_cast<ReadingOrder>(order_->currentData().toInt());
    grid.firstCorner = static_cast<GridCorner>(corner_->currentData().toInt());
    return grid;
}

GridChoice GridDialog::Choice() const {
    GridChoice choice;
    choice.scope = ticked_->isChecked() ? GridScope::Ticked : GridScope::Current;
    if (!clearing_) choice.grid = Grid();
    SurveyConditions& c = choice.conditions;
    c.probeSpacingMm = ParseNumber(probe_->text(), 0, kMaxProbeSpacingMm, false).value;
    c.concreteTemperatureC =
        ParseNumber(temperature_->text(), kLowestTemperatureC, kHighestTemperatureC, true).value;
    c.moistureState = moisture_->text().trimmed().toStdString();
    c.surfaceCondition = surface_->text().trimmed().toStdString();
    c.note = note_->text().trimmed().toStdString();
    return choice;
}

QString GridDialog::Problem() const {
    if (current_->isChecked() && !hasCurrent_) return tr("没有当前构件。");
    if (ticked_->isChecked() && tickedCount_ == 0) return tr("没有勾选的构件。");
    const Number x = Spacing(spacingX_), y = Spacing(spacingY_);
    if (!x.ok || !y.ok)
        return tr("间距须为大于 0、不超过 %1 的毫米数，或留空。").arg(kMaxSpacingMm);
    if (x.value.has_value() != y.value.has_value())
        return tr("列间距和行间距须同时填写，或同时留空（此时图上按格计数）。");
    if (!ParseNumber(probe_->text(), 0, kMaxProbeSpacingMm, false).ok)
        return tr("探头间距须为大于 0、不超过 %1 的毫米数，或留空。").arg(kMaxProbeSpacingMm);
    if (!ParseNumber(temperature_->text(), kLowestTemperatureC, kHighestTemperatureC, true).ok)
        return tr("混凝土温度须在 %1 到 %2 °C 之间，或留空。")
            .arg(kLowestTemperatureC)
            .arg(kHighestTemperatureC);
    return {};
}

void GridDialog::Update() {
    const SurveyGrid grid = Grid();
    preview_->SetGrid(grid, readings_);
    const int cells = grid.rows * grid.columns;
    if (!hasCurrent_)
        placement_->setText(tr("没有当前构件可预览。"));
    else if (readings_ > cells)
        placement_->setText(tr("当前构件 %1 个读数中有 %2 个超出网格，不会画在图上。")
                                .arg(readings_)
                                .arg(readings_ - cells));
    else if (readings_ < cells)
        placement_->setText(tr("当前构件 %1 个读数；网格中有 %2 个格子没有读数。")
                                .arg(readings_)
                                .arg(cells - readings_));
    else
        placement_->setText(tr("当前构件 %1 个读数正好填满网格。").arg(readings_));
    const QString problem = Problem();
    problem_->setText(problem);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    clear_->setEnabled(ticked_->isChecked() ? tickedCount_ > 0 : hasCurrent_);
}

}  // namespace ohmlet
