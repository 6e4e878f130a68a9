#include "app/AboutBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppStrings.h"
#include "data/Version.h"

namespace ohmlet {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("关于软件"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/ohmlet.png")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lines = new QVBoxLayout;
    auto addLine = [&](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lines->addWidget(label);
        return label;
    };
    QLabel* title = addLine(tr("%1V %2版").arg(ProductName(), QLatin1String(kVersion)));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    lines->addSpacing(8);
    addLine(MakerName());
    // In the English window the maker's name is already English.
    if (MakerName() != MakerNameEnglish()) addLine(MakerNameEnglish());
    addLine(tr("电话：%1").arg(QStringLiteral("010-5555 0100")));
    addLine(tr("网址：%1").arg(QStringLiteral("www.velmar.example")));
    addLine(tr("地址：北京市海淀区示例路18号"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(lines, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

}  // namespace ohmlet
