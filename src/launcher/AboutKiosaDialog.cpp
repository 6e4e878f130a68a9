#include "launcher/AboutKiosaDialog.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kiosa {

AboutKiosaDialog::AboutKiosaDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("关于 Kiosa"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/kiosa/kiosa.png")).pixmap(32, 32));
    auto* version = new QLabel(tr("Kiosa 1.0 版"), this);
    auto* ok = new QPushButton(tr("确定"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(version, 1, Qt::AlignVCenter);
    row->addSpacing(12);
    row->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kiosa
