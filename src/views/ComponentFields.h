#pragma once
// The "当前构件" fields and the hidden "全部构件" totals. They show what the document
// tells them and write back only the name, the test date and the pass criterion.
#include <QWidget>
#include <array>

class QComboBox;
class QDate;
class QDateEdit;
class QLabel;
class QGroupBox;
class QLineEdit;

namespace ohmlet {

class Component;
class Document;
struct Criterion;
enum class CriterionFault;

// The fields by name, shared by the fields and the panel that hosts them.
struct PanelFieldIds {
    enum Field {
        kName,
        kNumber,
        kAverage,
        kDesignValue,
        kUpperTolerance,
        kLowerTolerance,
        kMaximum,
        kMinimum,
        kPointCount,
        kPassCount,
        kPassRate,
        kTotalPoints,
        kTotalPassing,
        kOverallPassRate,
        kFailCount,
        kInvalidCount,
        kCriterionText,
        kFieldCount
    };
};

class ComponentFields : public QWidget, public PanelFieldIds {
    Q_OBJECT
public:
    explicit ComponentFields(Document& doc, QWidget* parent = nullptr);

    // Null empties every field. The document has brought max, min, pass count and
    // totals up to date already.
    void ShowComponent(const Component* component);
    void ShowTotals();

    QLineEdit* Edit(Field field) const;
    QDateEdit* DatePicker() const { return datePicker_; }
    QComboBox* CriterionKind() const { return criterionKind_; }
    QGroupBox* CurrentGroup() const { return currentGroup_; }
    QGroupBox* TotalsGroup() const { return totalsGroup_; }

signals:
    // The user changed the name, the date or the criterion.
    void DocumentEdited();

private:
    void BuildCurrentGroup();
    void BuildTotalsGroup();
    QLineEdit* AddField(Field field, const char* objectName, bool readOnly, bool visible,
                        const char* widest);
    void OnNameEdited(const QString& text);
    void OnDateChanged(const QDate& date);
    // A criterion field was left or confirmed: one undoable edit when it changed.
    void OnCriterionEdited();
    // Minimum or band chosen: the criterion is rewritten in the other form.
    void OnCriterionKindChosen(int kind);
    // Stores a criterion, or says why it cannot be and shows the stored one again.
    void StoreCriterion(const Criterion& wanted);
    void ShowCriterionKind(bool minimum);
    // Says why the criterion was not taken and shows the stored one again.
    void Refuse(CriterionFault fault);

    Document& doc_;
    QGroupBox* currentGroup_ = nullptr;
    QGroupBox* totalsGroup_ = nullptr;
    QDateEdit* datePicker_ = nullptr;
    QComboBox* criterionKind_ = nullptr;
    std::array<QLineEdit*, kFieldCount> edits_{};
    std::array<QLabel*, kFieldCount> labels_{};
    // Set while a refusal is shown: leaving the field for the message must not refuse again.
    bool refusing_ = false;
    // Set while the fields are filled from the document, so that no edit is stored.
    bool pushing_ = false;
};

}  // namespace ohmlet
