#include "report/ReportLayouts.h"

namespace ohmlet {

namespace {

constexpr FieldKind T = FieldKind::Text;
constexpr FieldKind D = FieldKind::Date;
constexpr FieldKind G = FieldKind::Grade;

// Gansu and Jilin share their fields.
std::vector<ReportField> GansuFields() {
    return {{"工程名称", T}, {"委托单位", T}, {"试验编号", T}, {"建设单位", T},
            {"设计单位", T}, {"施工单位", T}, {"监理单位", T}, {"委托日期", D},
            {"委托编号", T}, {"检测仪器", T}, {"检测依据", T}, {"检测日期", D}};
}

const std::vector<ReportLayoutInfo>& Layouts() {
    static const std::vector<ReportLayoutInfo> layouts = {
        {"检测报告1",
         "report1ini",
         {{"工程名称", T},     {"委托单位", T},   {"施工单位", T}, {"监理单位", T},
          {"检测仪器", T},     {"检测依据", T},   {"报告编号", T}, {"报告日期", D},
          {"设计单位", T},     {"委托编号", T},   {"检测单位", T}, {"检测内容", T},
          {"结构类别", T},     {"工程地址", T},   {"强度等级", G}, {"施工日期", D},
          {"检测方法", T},     {"要求合格率", T}, {"电极间距", T}, {"混凝土温度", T},
          {"表面湿度状况", T}, {"表面状况", T}},
         {"工程名称", "工程地址", "施工单位", "监理单位", "结构类别", "检测内容", "检测依据",
          "施工日期", "检测方法", "要求合格率", "电极间距"},
         {"委托单位", "设计单位", "委托编号", "检测单位", "强度等级", "检测仪器", "报告编号",
          "报告日期", "混凝土温度", "表面湿度状况", "表面状况"}},
        {"检测报告2",
         "report2ini",
         {{"报告编号", T},
          {"工程名称", T},
          {"委托单位", T},
          {"检测项目", T},
          {"检测方法", T},
          {"建设单位", T},
          {"检测日期", D},
          {"施工单位", T},
          {"设计单位", T},
          {"监理单位", T},
          {"监督单位", T},
          {"工程地址", T},
          {"检测依据", T},
          {"检测仪器", T},
          {"检测人员", T},
          {"结构类别", T},
          {"强度等级", G}},
         {"报告编号", "委托单位", "检测方法", "建设单位", "设计单位", "监督单位", "结构类别",
          "检测依据", "检测人员"},
         {"工程名称", "检测项目", "检测日期", "施工单位", "监理单位", "工程地址", "强度等级",
          "检测仪器"}},
        {"检测报告3",
         "report3ini",
         {{"委托编号", T},
          {"检测编号", T},
          {"委托单位", T},
          {"委托日期", D},
          {"工程名称", T},
          {"检测日期", D},
          {"工程地点", T},
          {"浇筑日期", D},
          {"检测项目", T},
          {"施工单位", T},
          {"仪器设备", T},
          {"执行标准", T},
          {"结构类别", T},
          {"强度等级", G}},
         {"委托编号", "委托单位", "施工单位", "工程名称", "结构类别", "检测项目", "仪器设备"},
         {"检测编号", "委托日期", "浇筑日期", "工程地点", "强度等级", "检测日期", "执行标准"}},
        {"检测报告4",
         "report4ini",
         {{"工程名称", T},
          {"委托单位", T},
          {"报告编号", T},
          {"建设单位", T},
          {"设计单位", T},
          {"施工单位", T},
          {"监理单位", T},
          {"报告日期", D},
          {"检测仪器", T},
          {"仪器编号", T},
          {"检测依据", T},
          {"检测日期", D}},
         {"工程名称", "委托单位", "建设单位", "设计单位", "施工单位", "检测仪器"},
         {"报告编号", "报告日期", "检测日期", "监理单位", "检测依据", "仪器编号"}},
        {"甘肃格式",
         "reportGansuini",
         GansuFields(),
         {"委托单位", "工程名称", "建设单位", "施工单位", "监理单位", "设计单位"},
         {"委托日期", "委托编号", "试验编号", "检测依据", "检测日期", "检测仪器"}},
        {"吉林报告",
         "reportJilinini",
         GansuFields(),
         {"委托单位", "工程名称", "建设单位", "施工单位", "监理单位", "设计单位"},
         {"委托日期", "委托编号", "试验编号", "检测依据", "检测日期", "检测仪器"}},
    };
    return layouts;
}

}  // namespace

const ReportLayoutInfo* ReportLayoutInfoAt(int layout) {
    if (layout < 0 || layout >= kReportLayoutCount) return nullptr;
    return &Layouts()[static_cast<std::size_t>(layout)];
}

FieldKind KindOfField(const ReportLayoutInfo& info, const std::string& utf8Key) {
    for (const ReportField& f : info.fileOrder)
        if (utf8Key == f.key) return f.kind;
    return FieldKind::Text;
}

QStringList StrengthGrades() { return {"C15", "C20", "C25", "C30", "C35", "C40", "C45", "C50"}; }

QString DefaultReportParameter(int layoutNumber, const QString& key) {
    if (layoutNumber != 1) return QString();
    // The printed report must name an instrument, a method and a basis; a laboratory
    // replaces these with its own wording and references.
    if (key == QStringLiteral("检测仪器")) return QStringLiteral("混凝土电阻率测试仪");
    if (key == QStringLiteral("检测方法"))
        return QStringLiteral(
            "采用四电极（Wenner）法在构件表面测量混凝土电阻率：四个电极等间距排成一条直线，"
            "外侧两个电极向混凝土通入交变电流，内侧两个电极测量电位差，"
            "由电流、电位差和电极间距算出电阻率。检测时，在每一个待测构件的表面选择有代表性的"
            "区域，避开钢筋正上方，润湿电极与混凝土的接触面后读数。");
    // The rate the verdict needs, the basis it cites and the probe spacing of the
    // common four-probe instruments; the other conditions are left to be recorded.
    if (key == QStringLiteral("检测依据"))
        return QStringLiteral(
            "RILEM TC "
            "154-EMC《混凝土电阻率现场测量方法建议》；混凝土电阻率测试仪使用说明书（四电极法）");
    if (key == QStringLiteral("要求合格率")) return QStringLiteral("85");
    if (key == QStringLiteral("电极间距")) return QStringLiteral("50");
    return QString();
}

}  // namespace ohmlet
