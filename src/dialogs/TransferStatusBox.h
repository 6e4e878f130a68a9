#pragma once
// 传输状态: the running transfer's progress (bytes, then components and readings once the
// reply's header has told what is coming) and the cause of a failure.
#include <QGroupBox>

class QLabel;
class QProgressBar;

namespace ohmlet {

class TransferStatusBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TransferStatusBox(QWidget* parent = nullptr);

    void Clear();
    void ShowBytes(qulonglong received, qulonglong expected);
    void ShowCounts(qulonglong components, qulonglong componentsExpected, qulonglong readings);
    void ShowCause(const QString& cause);

private:
    QProgressBar* progress_;
    QLabel* text_;
    bool countsKnown_ = false;
};

}  // namespace ohmlet
