#pragma once
// "传输状态": how far the download is, in bytes until the reply's header says what is
// coming, then in components and readings; and why a transfer stopped.
#include <QGroupBox>

class QLabel;
class QProgressBar;

namespace ohmlet {

class TransferStatusBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TransferStatusBox(QWidget* parent = nullptr);

    // Empty again for a new transfer.
    void Reset();
    void ShowBytes(qulonglong received, qulonglong expected);
    void ShowCounts(qulonglong components, qulonglong componentsExpected, qulonglong readings);
    void ShowCause(const QString& cause);

private:
    QProgressBar* progress_ = nullptr;
    QLabel* statusText_ = nullptr;
    bool countsKnown_ = false;
};

}  // namespace ohmlet
