#include "dialogs/TransferStatusBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace ohmlet {

TransferStatusBox::TransferStatusBox(QWidget* parent)
    : QGroupBox(tr("传输状态"), parent), progress_(new QProgressBar), text_(new QLabel) {
    setObjectName(QStringLiteral("status"));
    progress_->setObjectName(QStringLiteral("progress"));
    text_->setObjectName(QStringLiteral("statusText"));
    text_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    layout->addWidget(text_);
    Clear();
}

void TransferStatusBox::Clear() {
    text_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v / %m"));
    progress_->setTextVisible(false);  // bytes received of expected, once bytes arrive
    countsKnown_ = false;
}

// Bytes are shown only until the reply's header says what is coming.
void TransferStatusBox::ShowBytes(qulonglong received, qulonglong expected) {
    if (countsKnown_) return;
    progress_->setFormat(tr("%v / %m 字节"));
    int maximum = static_cast<int>(std::min<qulonglong>(std::max(expected, received), INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setTextVisible(maximum > 0);
    progress_->setValue(static_cast<int>(std::min<qulonglong>(received, INT_MAX)));
}

void TransferStatusBox::ShowCounts(qulonglong components, qulonglong componentsExpected,
                                   qulonglong readings) {
    countsKnown_ = true;
    const int maximum = static_cast<int>(std::min<qulonglong>(componentsExpected, INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setValue(static_cast<int>(std::min<qulonglong>(components, INT_MAX)));
    progress_->setFormat(tr("已接收 %1 / %2 个构件，%3 个数据")
                             .arg(components)
                             .arg(componentsExpected)
                             .arg(readings));
    progress_->setTextVisible(true);
}

void TransferStatusBox::ShowCause(const QString& cause) { text_->setText(cause); }

}  // namespace ohmlet
