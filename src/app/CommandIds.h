#pragma once
// Command numbers, as menus, toolbar buttons and accelerators bind them.

namespace ohmlet::cmd {

enum Id : int {
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAllAs = 57604,
    kFilePrintSetup = 57606,
    kFilePrint = 57607,
    kFilePrintPreview = 57609,
    kFileMruFirst = 57616,
    kAppExit = 57665,
    kAppAbout = 57664,
    kHelp = 57670,
    kEditCopy = 57634,
    kEditCut = 57635,
    kEditPaste = 57637,
    kEditUndo = 57643,
    kEditRedo = 57644,
    kViewToolbar = 59392,
    kViewStatusBar = 59393,
    kViewControlPanel = 32772,
    kDataTransfer = 32773,
    kReportParameters = 32774,
    kWordReport = 32775,
    kExcelExport = 32776,
    kPrintSettings = 32777,
    kPreviewAlt = 32778,
    kPrintAlt = 32779,
    kInsertPointAbove = 32780,
    kInsertPointBelow = 32781,
    kDeletePoint = 32782,
    kSaveSelected = 32783,
    kInsertComponent = 32786,
    kDeleteComponent = 32787,
    kExportPdf = 32790,
    kApplyCriterion = 32791,
    kClassTableRilem = 32792,
    kClassTableLangford = 32793,
    kClassTableUser = 32794,
};

}  // namespace ohmlet::cmd
