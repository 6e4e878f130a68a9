#include "CReportParamDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "CIniFile.h"
#include "CReportPage.h"
#include "GbkCodec.h"
#include "ReportParameters.h"
#include "SettingsLocation.h"

namespace ohmlet {

namespace {

constexpr int kPageX = 10;
constexpr int kPageY = 40;
constexpr int kPageWidth = 450;
constexpr int kPageHeight = 260;

}  // namespace

CReportParamDlg::CReportParamDlg(const QString& programFolder, QWidget* parent)
    : QDialog(parent), programFolder_(programFolder) {
    setWindowTitle(QStringLiteral("报告参数"));
    setFixedSize(kPageX * 2 + kPageWidth, kPageY + kPageHeight + 50);

    auto* label = new QLabel(QStringLiteral("WORD报告格式"), this);
    label->setGeometry(12, 10, 110, 22);
    combo_ = new QComboBox(this);
    combo_->setGeometry(124, 8, 160, 24);
    for (int i = 0; i < kReportLayoutCount; ++i)
        combo_->addItem(QString::fromUtf8(GetReportLayoutInfo(i)->comboItem));
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(kPageX, 34, kPageWidth, 4);

    // The pages are made with the values of every layout's file.
    std::array<CReportPage*, 6> pages{};
    for (int i = 0; i < kReportLayoutCount; ++i)
        pages[i] = new CReportPage(*GetReportLayoutInfo(i), this);
    pages_ = pages;
    for (int i = 0; i < kReportLayoutCount; ++i) LoadLayout(i);
    for (CReportPage* page : pages_) {
        page->setGeometry(kPageX, kPageY, kPageWidth, kPageHeight);
        page->UpdateControls();
        page->hide();
    }
    LoadChosenLayout();
    ShowOnly(reportLayout_);
    combo_->setCurrentIndex(reportLayout_ >= 0 && reportLayout_ < kReportLayoutCount ? reportLayout_
                                                                                     : -1);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    ok->setDefault(true);
    const int buttonsY = kPageY + kPageHeight + 12;
    ok->setGeometry(width() - 190, buttonsY, 85, 28);
    cancel->setGeometry(width() - 95, buttonsY, 85, 28);
    connect(ok, &QPushButton::clicked, this, &CReportParamDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CReportParamDlg::reject);
    connect(combo_, &QComboBox::currentIndexChanged, this, &CReportParamDlg::OnLayoutChanged);
}

CReportPage* CReportParamDlg::Page(int layout) const {
    return layout >= 0 && layout < kReportLayoutCount ? pages_[layout] : nullptr;
}

void CReportParamDlg::ShowOnly(int layout) {
    for (int i = 0; i < kReportLayoutCount; ++i) pages_[i]->setVisible(i == layout);
}

void CReportParamDlg::OnLayoutChanged(int index) {
    if (index < 0 || index >= kReportLayoutCount) return;
    // Every page keeps what was typed on it until OK or Cancel.
    ShowOnly(index);
}

void CReportParamDlg::LoadLayout(int layout) {
    CReportPage* page = Page(layout);
    if (!page) return;
    CIniFile file;
    if (!OpenSettingsFile(file, programFolder_, page->Info().baseName, SettingsAccess::Read))
        return;
    page->ReadMembers(file);
    if (layout == 0) file.ReadInt(SectionName(), LayoutKeyGbk(), reportLayout_);
    file.Close();
}

void CReportParamDlg::SaveLayout(int layout) {
    CReportPage* page = Page(layout);
    if (!page) return;
    CIniFile file;
    OpenSettingsFile(file, programFolder_, page->Info().baseName, SettingsAccess::Write);
    page->UpdateMembers();
    if (!file.IsOpen()) return ShowSaveError(file);
    file.WriteSection(SectionName());
    page->WriteMembers(file);
    if (layout == 0) file.WriteInt(LayoutKeyGbk(), reportLayout_);
    if (!file.Commit()) ShowSaveError(file);
}

void CReportParamDlg::ShowSaveError(const CIniFile& file) {
    QMessageBox::warning(this, windowTitle(),
                         QFile::decodeName(QByteArray::fromStdString(file.LastError())));
}

void CReportParamDlg::LoadChosenLayout() {
    CIniFile file;
    if (!OpenSettingsFile(file, programFolder_, kChosenLayoutFile, SettingsAccess::Read)) return;
    file.ReadInt(SectionName(), LayoutKeyGbk(), reportLayout_);
    file.Close();
}

void CReportParamDlg::SaveChosenLayout() {
    CIniFile file;
    OpenSettingsFile(file, programFolder_, kChosenLayoutFile, SettingsAccess::Write);
    reportLayout_ = combo_->currentIndex();
    if (!file.IsOpen()) return ShowSaveError(file);
    file.WriteSection(SectionName());
    file.WriteInt(LayoutKeyGbk(), reportLayout_);
    if (!file.Commit()) ShowSaveError(file);
}

void CReportParamDlg::accept() {
    reportLayout_ = combo_->currentIndex();
    // What was typed on any page is kept, not only on the page shown.
    for (int layout = 0; layout < kReportLayoutCount; ++layout) SaveLayout(layout);
    SaveChosenLayout();
    QDialog::accept();
}

void EditReportParameters(QWidget* parent, const QString& programFolder) {
    CReportParamDlg dialog(programFolder, parent);
    dialog.exec();
}

}  // namespace ohmlet
