#include "app/CommandTable.h"

#include <QCoreApplication>

#include "app/CommandIds.h"

namespace ohmlet {

const QList<CommandText>& Commands() {
    using namespace cmd;
    static const QList<CommandText> table = {
        {kFileNew, "", QT_TRANSLATE_NOOP("ohmlet::Command", "建立新文档\n新建")},
        {kFileOpen, QT_TRANSLATE_NOOP("ohmlet::Command", "打开(&O)...\tCtrl+O"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "打开一个现有文档\n打开")},
        {kFileClose, QT_TRANSLATE_NOOP("ohmlet::Command", "关闭(&C)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "关闭活动文档\n关闭")},
        {kFileSave, QT_TRANSLATE_NOOP("ohmlet::Command", "保存(&S)\tCtrl+S"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "保存活动文档\n保存")},
        // This item writes the checked components only; the whole file has its own.
        {kSaveSelected, QT_TRANSLATE_NOOP("ohmlet::Command", "保存选择构件(&A)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "保存当前文件中选择的构件\n保存选择的构件")},
        {kFileSaveAllAs, QT_TRANSLATE_NOOP("ohmlet::Command", "另存为(&L)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将活动文档以一个新文件名保存\n另存为")},
        {kFilePrint, QT_TRANSLATE_NOOP("ohmlet::Command", "打印(&P)...\tCtrl+P"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "打印活动文档\n打印")},
        {kPrintAlt, "", QT_TRANSLATE_NOOP("ohmlet::Command", "打印\n打印")},
        {kFilePrintPreview, QT_TRANSLATE_NOOP("ohmlet::Command", "打印预览(&V)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "显示整页\n打印预览")},
        {kPreviewAlt, "", QT_TRANSLATE_NOOP("ohmlet::Command", "打印预览\n打印预览")},
        {kFilePrintSetup, QT_TRANSLATE_NOOP("ohmlet::Command", "打印设置(&R)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "更改打印机和打印选项\n打印设置")},
        {kPrintSettings, QT_TRANSLATE_NOOP("ohmlet::Command", "打印格式设置(&G)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "打印格式设置\n打印设置")},
        {kExportPdf, QT_TRANSLATE_NOOP("ohmlet::Command", "导出PDF(&D)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将选择的构件的检测报告保存为PDF文件\n导出PDF")},
        {kExportWord, QT_TRANSLATE_NOOP("ohmlet::Command", "Word 文档(&W)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将选择的构件保存为Word文档\n导出Word")},
        {kExportExcel, QT_TRANSLATE_NOOP("ohmlet::Command", "Excel 工作簿(&E)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将选择的构件保存为Excel工作簿\n导出Excel")},
        {kExportCsv, QT_TRANSLATE_NOOP("ohmlet::Command", "CSV 文件(&C)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将选择的构件的数据保存为CSV文件\n导出CSV")},
        {kFileMruFirst, QT_TRANSLATE_NOOP("ohmlet::Command", "最近文件"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "打开该文档")},
        {kAppExit, QT_TRANSLATE_NOOP("ohmlet::Command", "退出(&X)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "退出应用程序；提示保存文档\n退出")},
        {kDataTransfer, QT_TRANSLATE_NOOP("ohmlet::Command", "数据传输(&T)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "将仪器中的数据传输到计算机中\n数据传输")},
        {kReportParameters, QT_TRANSLATE_NOOP("ohmlet::Command", "报告参数(&R)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "设置生成word报告的工程参数\n设置工程参数")},
        {kWordReport, QT_TRANSLATE_NOOP("ohmlet::Command", "生成word报告(&W)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "生成word报告\n生成word报告")},
        {kExcelExport, QT_TRANSLATE_NOOP("ohmlet::Command", "数据导入Excel(&E)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "数据导入excel表格\n数据导入Excel")},
        {kApplyCriterion, QT_TRANSLATE_NOOP("ohmlet::Command", "应用判定标准(&J)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "对所有勾选的构件应用同一判定标准\n应用判定标准")},
        {kClassTableRilem, QT_TRANSLATE_NOOP("ohmlet::Command", "RILEM 等级表(&R)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "按 RILEM 等级表划分腐蚀等级\nRILEM 等级表")},
        {kClassTableLangford, QT_TRANSLATE_NOOP("ohmlet::Command", "Langford 等级表(&L)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "按 Langford 等级表划分腐蚀等级\nLangford 等级表")},
        {kClassTableUser, QT_TRANSLATE_NOOP("ohmlet::Command", "用户等级表(&U)"),
         QT_TRANSLATE_NOOP("ohmlet::Command",
                           "按用户的等级表（classtableini.ini）划分腐蚀等级\n用户等级表")},
        {kEditClassTable, QT_TRANSLATE_NOOP("ohmlet::Command", "编辑用户等级表(&E)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "编辑用户等级表的等级名称与界限\n编辑用户等级表")},
        {kSurveyGrid, QT_TRANSLATE_NOOP("ohmlet::Command", "测区网格(&G)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "设置构件读数所在的测区网格与测量条件\n测区网格")},
        {kViewToolbar, QT_TRANSLATE_NOOP("ohmlet::Command", "工具栏(&T)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "显示或隐藏工具栏\n显隐工具栏")},
        {kViewStatusBar, QT_TRANSLATE_NOOP("ohmlet::Command", "状态栏(&S)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "显示或隐藏状态栏\n显隐状态栏")},
        {kViewControlPanel, QT_TRANSLATE_NOOP("ohmlet::Command", "控制面板(&W)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "显示/隐藏控制面板\n显示/隐藏控制面板")},
        {kAppAbout, QT_TRANSLATE_NOOP("ohmlet::Command", "关于(&A)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "显示程序信息，版本号和版权\n关于")},
        {kHelp, QT_TRANSLATE_NOOP("ohmlet::Command", "帮助主题(&H)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "打开使用说明\n帮助")},
        {kInsertComponent, QT_TRANSLATE_NOOP("ohmlet::Command", "插入构件(&I)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "在构件列表区选中的构件前插入一个新构件\n插入构件")},
        {kDeleteComponent, QT_TRANSLATE_NOOP("ohmlet::Command", "删除构件(&D)..."),
         QT_TRANSLATE_NOOP("ohmlet::Command", "删除构件列表区选中的构件\n删除构件")},
        {kInsertPointAbove, QT_TRANSLATE_NOOP("ohmlet::Command", "上面插入数据(&A)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "在选中一行的上面插入数据\n上面插入数据")},
        {kInsertPointBelow, QT_TRANSLATE_NOOP("ohmlet::Command", "下面插入数据(&B)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "在选中一行的下面插入数据\n下面插入数据")},
        {kDeletePoint, QT_TRANSLATE_NOOP("ohmlet::Command", "删除数据(&L)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "删除选中的数据\n删除单个数据")},
        {kEditCut, QT_TRANSLATE_NOOP("ohmlet::Command", "剪切(&T)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "剪切选定的数据并放到剪贴板上\n剪切")},
        {kEditCopy, QT_TRANSLATE_NOOP("ohmlet::Command", "复制(&C)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "复制选定的数据到剪贴板\n复制")},
        {kEditPaste, QT_TRANSLATE_NOOP("ohmlet::Command", "粘贴(&P)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "把剪贴板中的数据粘贴到选中的单元格\n粘贴")},
        {kEditUndo, QT_TRANSLATE_NOOP("ohmlet::Command", "撤消(&U)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "撤消最后一步操作\n撤消")},
        {kEditRedo, QT_TRANSLATE_NOOP("ohmlet::Command", "重做(&R)"),
         QT_TRANSLATE_NOOP("ohmlet::Command", "重做上次撤消的操作\n重做")},
    };
    return table;
}

const CommandText* FindCommand(int id) {
    for (const CommandText& c : Commands())
        if (c.id == id) return &c;
    return nullptr;
}

namespace {

QString Translated(const char* text) {
    return *text ? QCoreApplication::translate("ohmlet::Command", text) : QString();
}

}  // namespace

QString MenuText(int id) {
    const CommandText* c = FindCommand(id);
    return c ? Translated(c->menuText) : QString();
}

QString StatusPrompt(int id) {
    const CommandText* c = FindCommand(id);
    return c ? Translated(c->statusText).section(QLatin1Char('\n'), 0, 0) : QString();
}

QString ToolTipText(int id) {
    const CommandText* c = FindCommand(id);
    if (!c) return {};
    QString text = Translated(c->statusText);
    int lf = static_cast<int>(text.indexOf(QLatin1Char('\n')));
    return lf < 0 ? QString() : text.mid(lf + 1);
}

const QList<Accelerator>& Accelerators() {
    using namespace cmd;
    static const QList<Accelerator> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), kFileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), kFileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), kFileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_P), kFilePrint},
        {QKeySequence(Qt::CTRL | Qt::Key_T), kDataTransfer},
        {QKeySequence(Qt::CTRL | Qt::Key_W), kWordReport},
        {QKeySequence(Qt::CTRL | Qt::Key_E), kExcelExport},
        {QKeySequence(Qt::CTRL | Qt::Key_R), kReportParameters},
        {QKeySequence(Qt::ALT | Qt::Key_W), kViewControlPanel},
        {QKeySequence(Qt::CTRL | Qt::Key_H), kHelp},
        {QKeySequence(Qt::CTRL | Qt::Key_I), kInsertComponent},
        {QKeySequence(Qt::CTRL | Qt::Key_C), kDeleteComponent},
        {QKeySequence(Qt::ALT | Qt::Key_A), kInsertPointAbove},
        {QKeySequence(Qt::ALT | Qt::Key_B), kInsertPointBelow},
        {QKeySequence(Qt::CTRL | Qt::Key_D), kDeletePoint},
        {QKeySequence(Qt::CTRL | Qt::Key_X), kEditCut},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), kEditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), kEditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), kEditPaste},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), kEditPaste},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), kEditUndo},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), kEditUndo},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), kEditRedo},
    };
    return table;
}

}  // namespace ohmlet
