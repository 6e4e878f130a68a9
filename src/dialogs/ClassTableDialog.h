#pragma once
// 编辑用户等级表: the user's own corrosion class table, its name and its classes from the
// highest down with their lower bounds. OK is offered only for a table the file reader
// would take; the caller saves it.
#include <QDialog>
#include <optional>

#include "data/CorrosionClasses.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ohmlet {

class ClassTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit ClassTableDialog(const ClassTable& initial, QWidget* parent = nullptr);

    // The table as the fields hold it, or nothing with Problem() saying why.
    std::optional<ClassTable> Table() const;
    QString Problem() const;

    QLineEdit* NameEdit() const { return name_; }
    QTableWidget* Classes() const { return classes_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    std::optional<ClassTable> Build(QString& problem) const;
    void AddRow(const QString& name, const QString& bound);
    void MarkLastRow();
    void Update();

    QLineEdit* name_;
    QTableWidget* classes_;
    QPushButton* add_;
    QPushButton* remove_;
    QLabel* problem_;
    QDialogButtonBox* buttons_;
};

}  // namespace ohmlet
