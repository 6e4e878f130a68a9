#include "dialogs/ClassTableDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>
#include <string>
#include <vector>

namespace ohmlet {

ClassTableDialog::ClassTableDialog(const ClassTable& initial, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("编辑用户等级表"));
    name_ = new QLineEdit(QString::fromStdString(initial.Name()), this);
    classes_ = new QTableWidget(0, 2, this);
    classes_->setHorizontalHeaderLabels({tr("等级名称"), tr("界限 (kΩ·cm)")});
    classes_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    classes_->verticalHeader()->setVisible(true);
    for (const CorrosionClass& c : initial.Classes())
        AddRow(QString::fromStdString(c.name), QString::number(c.lowerBound));
    MarkLastRow();
    add_ = new QPushButton(tr("添加等级"), this);
    remove_ = new QPushButton(tr("删除最后一级"), this);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(tr("等级表名称"), name_);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add_);
    rowButtons->addWidget(remove_);
    rowButtons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(
        tr("从风险最低的等级起，每级填写其界限：高于界限的读数属于该级；最后一级取其余读数。"),
        this));
    layout->addWidget(classes_);
    layout->addLayout(rowButtons);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);
    resize(420, 360);

    connect(add_, &QPushButton::clicked, this, [this] {
        // The new class goes last; the one before it now needs a bound.
        AddRow(QString(), QString());
        MarkLastRow();
        Update();
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        classes_->removeRow(classes_->rowCount() - 1);
        MarkLastRow();
        Update();
    });
    connect(name_, &QLineEdit::textChanged, this, &ClassTableDialog::Update);
    connect(classes_, &QTableWidget::itemChanged, this, &ClassTableDialog::Update);
    connect(buttons_, &QDialogButtonBox::accepted, this, &ClassTableDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &ClassTableDialog::reject);
    Update();
}

void ClassTableDialog::AddRow(const QString& name, const QString& bound) {
    const int row = classes_->rowCount();
    classes_->insertRow(row);
    classes_->setItem(row, 0, new QTableWidgetItem(name));
    classes_->setItem(row, 1, new QTableWidgetItem(bound));
}

// The last class has no bound of its own: it takes every reading below the one above.
void ClassTableDialog::MarkLastRow() {
    const QSignalBlocker quiet(classes_);
    const int last = classes_->rowCount() - 1;
    for (int row = 0; row <= last; ++row) {
        QTableWidgetItem* bound = classes_->item(row, 1);
        if (!bound) continue;
        const bool hasBound = row != last;
        bound->setFlags(hasBound ? bound->flags() | Qt::ItemIsEditable | Qt::ItemIsEnabled
                                 : bound->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsEnabled));
        if (!hasBound)
            bound->setText(tr("其余"));
        else if (bound->text() == tr("其余"))
            bound->setText(QString());
    }
}

std::optional<ClassTable> ClassTableDialog::Build(QString& problem) const {
    std::vector<CorrosionClass> classes;
    const int count = classes_->rowCount();
    for (int row = 0; row < count; ++row) {
        const QTableWidgetItem* name = classes_->item(row, 0);
        const QTableWidgetItem* bound = classes_->item(row, 1);
        CorrosionClass c{name ? name->text().trimmed().toStdString() : std::string(), 0};
        if (row + 1 < count) {
            bool whole = false;
            const qlonglong value = bound ? bound->text().trimmed().toLongLong(&whole) : 0;
            if (!whole || value < std::numeric_limits<int32_t>::min() ||
                value > std::numeric_limits<int32_t>::max()) {
                problem = tr("第 %1 级的界限须是整数。").arg(row + 1);
                return std::nullopt;
            }
            c.lowerBound = value;
        }
        classes.push_back(std::move(c));
    }
    // The file reader's own checks: the same table is refused here and there.
    std::string error;
    std::optional<ClassTable> table =
        ClassTable::Make(name_->text().trimmed().toStdString(), std::move(classes), error);
    if (!table) problem = QString::fromStdString(error);
    return table;
}

std::optional<ClassTable> ClassTableDialog::Table() const {
    QString ignored;
    return Build(ignored);
}

QString ClassTableDialog::Problem() const { return problem_->text(); }

void ClassTableDialog::Update() {
    QString problem;
    const bool usable = Build(problem).has_value();
    problem_->setText(usable ? QString() : problem);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(usable);
    add_->setEnabled(classes_->rowCount() < static_cast<int>(ClassTable::kMaxClasses));
    remove_->setEnabled(classes_->rowCount() > static_cast<int>(ClassTable::kMinClasses));
}

}  // namespace ohmlet
