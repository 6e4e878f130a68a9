#include "report/ReportTextPages.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "data/PassRate.h"
#include "report/GbkCodec.h"
#include "report/LineBreaker.h"
#include "report/MapDrawing.h"
#include "report/ReportCanvas.h"
#include "report/ReportParameters.h"

namespace ohmlet {

namespace {

std::string G(const QString& text) { return ToGbk(text); }

// Draws a paragraph through the line breaker from y, lines 200 apart; returns the y of
// its last line.
int DrawParagraph(QPainter& painter, int x, int y, const std::string& gbk) {
    std::vector<std::string> lines = BreakReportLines(gbk);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) y += 200;
        DrawGbkAt(painter, x, y, lines[i]);
    }
    return y;
}

}  // namespace

void DrawCoverPage(QPainter& painter, const ReportParameterLookup& parameter, const QDate& today) {
    painter.setFont(ReportFont(ReportFace::Song, 46));
    DrawTextAt(painter, 1300, 1200, QStringLiteral("检 测 报 告"));
    painter.setFont(ReportFont(ReportFace::Song, 14));
    DrawTextAt(painter, 1800, 1800, QStringLiteral("编号："));
    DrawGbkAt(painter, 2100, 1800, parameter(QStringLiteral("报告编号")));
    painter.setFont(ReportFont(ReportFace::Hei, 16));
    DrawTextAt(painter, 1000, 3400, QStringLiteral("工程名称："));
    DrawTextAt(painter, 1000, 3800, QStringLiteral("委托单位："));
    DrawTextAt(painter, 1000, 4200, QStringLiteral("检测内容："));
    for (int y : {3550, 3950, 4350}) DrawLine(painter, 1700, y, 3400, y);
    painter.setFont(ReportFont(ReportFace::Song, 14));
    DrawGbkAt(painter, 1800, 3400, parameter(QStringLiteral("工程名称")));
    DrawGbkAt(painter, 1800, 3800, parameter(QStringLiteral("委托单位")));
    DrawTextAt(painter, 1800, 4200, QStringLiteral("电阻率检测"));
    // The report's own date; a fixed date would be wrong on every report.
    std::string date = parameter(QStringLiteral("报告日期"));
    if (date.empty()) date = FormatStoredDate(today);
    DrawGbkAt(painter, 1800, 6000, date);
}

std::string SurveyParagraph(const ReportParameterLookup& p) {
    // A clause whose value was never filled in is left out, not printed around a gap.
    const std::string name = p(QStringLiteral("工程名称"));
    const std::string address = p(QStringLiteral("工程地址"));
    const std::string structure = p(QStringLiteral("结构类别"));
    const std::string builder = p(QStringLiteral("施工单位"));
    const std::string started = p(QStringLiteral("施工日期"));
    const std::string grade = p(QStringLiteral("强度等级"));
    const std::string client = p(QStringLiteral("委托单位"));
    auto sentence = [](const std::vector<std::string>& clauses) {
        std::string text;
        for (const std::string& clause : clauses) {
            if (clause.empty()) continue;
            if (!text.empty()) text += G(QStringLiteral("，"));
            text += clause;
        }
        return text.empty() ? text : text + G(QStringLiteral("。"));
    };
    std::string text = G(QStringLiteral("       "));
    std::string site = sentence(
        {address.empty() ? "" : G(QStringLiteral("位于")) + address,
         structure.empty() ? "" : G(QStringLiteral("为")) + structure + G(QStringLiteral("结构"))});
    if (!site.empty())
        text += (name.empty() ? G(QStringLiteral("本")) : name) + G(QStringLiteral("工程")) + site;
    text += sentence(
        {builder.empty() ? "" : G(QStringLiteral("由")) + builder + G(QStringLiteral("施工")),
         started.empty() ? "" : G(QStringLiteral("开工时间为")) + started});
    if (!grade.empty())
        text += G(QStringLiteral("根据设计要求，混凝土设计强度等级为")) + grade +
                G(QStringLiteral("。"));
    text += "\n";
    if (!client.empty()) text += G(QStringLiteral("受")) + client + G(QStringLiteral("委托，"));
    return text + G(QStringLiteral("我所对")) + structure +
           G(QStringLiteral("混凝土电阻率进行了检测。 "));
}

int RequiredRate(const ReportParameterLookup& parameter) {
    bool ok = false;
    const int rate = FromGbk(parameter(QStringLiteral("要求合格率"))).trimmed().toInt(&ok);
    return ok && rate > 0 && rate <= 100 ? rate : kDefaultRequiredRate;
}

std::vector<std::string> ConclusionLines(const ReportTotals& t, int requiredRate) {
    // One component is "该构件"; several are counted, so the verdict says what it covers.
    const QString scope = t.componentCount == 1
                              ? QStringLiteral("该构件")
                              : QStringLiteral("所检%1个构件").arg(t.componentCount);
    QString counts = QStringLiteral("共对%1的%2个测点进行检测，其中合格的测点%3个，不合格测点%4个")
                         .arg(scope)
                         .arg(t.pointCount)
                         .arg(t.passCount)
                         .arg(t.FailCount());
    if (t.invalidCount > 0)
        counts +=
            QStringLiteral("，无效读数%1个（无接触或超出量程，未计入合格率）").arg(t.invalidCount);
    counts += QStringLiteral("。");
    QString verdict;
    const QString rate = QString::fromStdString(RateText(t.passCount, t.ValidCount()));
    if (t.ValidCount() == 0)
        verdict =
            QStringLiteral("没有有效读数，不能判定%1的混凝土电阻率是否满足设计要求。").arg(scope);
    else if (t.MeetsRequirement(requiredRate))
        verdict = QStringLiteral(
                      "混凝土电阻率合格率达到%1%，不低于检测依据要求的%2%，%"
                      "3的混凝土电阻率满足设计要求。")
                      .arg(rate)
                      .arg(requiredRate)
                      .arg(scope);
    else
        verdict =
            QStringLiteral(
                "混凝土电阻率合格率为%1%，低于检测依据要求的%2%，%3的混凝土电阻率不满足设计要求。")
                .arg(rate)
                .arg(requiredRate)
                .arg(scope);
    std::vector<std::string> lines = BreakReportLines(G(QStringLiteral("        ") + counts));
    for (std::string& line : BreakReportLines(G(QStringLiteral("    ") + verdict)))
        if (!line.empty()) lines.push_back(std::move(line));
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

std::string MethodText(const ReportParameterLookup& parameter) {
    std::string text = parameter(QStringLiteral("检测方法"));
    const QString spacing = FromGbk(parameter(QStringLiteral("电极间距"))).trimmed();
    if (!spacing.isEmpty())
        text += G(QStringLiteral(
                      "电阻率按ρ=2πaV/I计算，其中电极间距a=%1mm，V为测得的电位差，I为通入的电流。")
                      .arg(spacing));
    return text;
}

std::string ConditionsText(const ReportParameterLookup& parameter) {
    // Only what was recorded: an empty field is left out, never filled with a guess.
    struct Item {
        const char* key;
        const char* label;
        const char* unit;
    };
    static const Item items[] = {{"电极间距", "电极间距：", "mm"},
                                 {"混凝土温度", "混凝土温度：", "℃"},
                                 {"表面湿度状况", "表面湿度状况：", ""},
                                 {"表面状况", "表面状况：", ""}};
    QString text;
    for (const Item& item : items) {
        const QString value = FromGbk(parameter(QString::fromUtf8(item.key))).trimmed();
        if (value.isEmpty()) continue;
        if (!text.isEmpty()) text += QStringLiteral("；");
        text += QString::fromUtf8(item.label) + value + QString::fromUtf8(item.unit);
    }
    return G(text);
}

void DrawProjectPage(QPainter& painter, const ReportPageFrame& f,
                     const ReportParameterLookup& parameter, const ReportTotals& totals) {
    const int L = f.leftMargin, T = f.topMargin, W = f.frameWidth, H = f.frameHeight;
    painter.setFont(ReportFont(ReportFace::Song, 12));
    DrawFrame(painter, L, T + 200, L + W, T + H);
    DrawLine(painter, L + 600, T + 200, L + 600, T + 1200);
    const QString labels[] = {QStringLiteral("工程名称"), QStringLiteral("施工单位"),
                              QStringLiteral("监理单位"), QStringLiteral("设计单位"),
                              QStringLiteral("检测项目")};
    for (int row = 0; row < 5; ++row) {
        const int y = T + 240 + 200 * row;
        DrawTextAt(painter, L + 100, y, labels[row]);
        if (row < 4)
            DrawGbkAt(painter, L + 700, y, parameter(labels[row]));
        else
            DrawTextAt(painter, L + 700, y, QStringLiteral("混凝土电阻率测试"));
        DrawLine(painter, L, T + 400 + 200 * row, L + W, T + 400 + 200 * row);
    }
    DrawTextAt(painter, L + 100, T + 1440, QStringLiteral("一、概况"));
    int y = DrawParagraph(painter, L + 60, T + 1640, SurveyParagraph(parameter));
    y += 220;
    DrawTextAt(painter, L + 100, y, QStringLiteral("二、检测方法"));
    // The method is the laboratory's own text; a long one is cut where the conclusion
    // would leave the frame.
    std::vector<std::string> method =
        BreakReportLines(G(QStringLiteral("      ")) + MethodText(parameter));
    const int methodTop = y + 180;
    const std::size_t fit =
        static_cast<std::size_t>(std::max(0, (T + H - 2160 - methodTop) / 200)) + 1;
    if (method.size() > fit) {
        method.resize(fit);
        QString last = FromGbk(method.back());
        while (!last.isEmpty() && G(last).size() > kLineBreakBytes - 4) last.chop(1);
        method.back() = G(last + QStringLiteral("……"));
    }
    y = methodTop;
    for (std::size_t i = 0; i < method.size(); ++i) {
        if (i > 0) y += 200;
        DrawGbkAt(painter, L + 60, y, method[i]);
    }
    const int Y = y;
    DrawLine(painter, L, Y + 960, L + W, Y + 960);
    DrawLine(painter, L, Y + 1160, L + W, Y + 1160);
    painter.setFont(ReportFont(ReportFace::Song, 16));
    DrawTextAt(painter, L + 1400, Y + 980, QStringLiteral("检  测  结  论"));
    painter.setFont(ReportFont(ReportFace::Song, 12));
    const std::vector<std::string> conclusion = ConclusionLines(totals, RequiredRate(parameter));
    int lineY = Y + 1360;
    for (const std::string& line : conclusion) {
        DrawGbkAt(painter, L, lineY, line);
        lineY += 200;
    }
    painter.setFont(ReportFont(ReportFace::Song, 16));
    DrawTextAt(painter, L + 400, std::max(Y + 2000, lineY + 40), QStringLiteral("(以下空白)"));
}

std::vector<std::string> ConditionLines(const ReportParameterLookup& parameter,
                                        const std::vector<Component>& components) {
    constexpr std::size_t kLines = 3;  // what the box holds
    std::vector<std::string> lines = BreakReportLines(ConditionsText(parameter));
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    // A component measured under its own conditions says so after the report's defaults.
    std::vector<std::string> own;
    for (const Component& c : components)
        if (c.selected && !c.extras.conditions.IsEmpty())
            own.push_back(G(QStringLiteral("构件%1：").arg(FromGbk(c.Number())) +
                            ConditionsText(c.extras.conditions, ClassWording::kReport)));
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (lines.size() + 1 == kLines && i + 1 < own.size()) {
            lines.push_back(G(QStringLiteral("另有%1个构件的测量条件见其分布图页。")
                                  .arg(static_cast<qulonglong>(own.size() - i))));
            break;
        }
        if (lines.size() == kLines) break;
        lines.push_back(BreakReportLines(own[i]).front());
    }
    if (lines.size() > kLines) lines.resize(kLines);
    return lines;
}

void DrawBasisPage(QPainter& painter, const ReportPageFrame& f,
                   const ReportParameterLookup& parameter,
                   const std::vector<Component>& components) {
    const int L = f.leftMargin, T = f.topMargin, W = f.frameWidth, H = f.frameHeight;
    painter.setFont(ReportFont(ReportFace::Song, 12));
    DrawFrame(painter, L, T + 200, L + W, T + H);
    for (int y : {1200, 2200, 3200, 4200}) DrawLine(painter, L, T + y, L + W, T + y);
    DrawTextAt(painter, L + 100, T + 400, QStringLiteral("检测依据："));
    // Up to three lines, centred on the line the box was made for; the last one is
    // narrowed to hold the rest.
    const int width = W - 400 - 60;
    std::vector<std::string> basis = BreakReportLines(parameter(QStringLiteral("检测依据")));
    while (basis.size() > 3) {
        basis[basis.size() - 2] += basis.back();
        basis.pop_back();
    }
    for (std::size_t i = 0; i < basis.size(); ++i)
        DrawTextFitted(
            painter, L + 400,
            T + 800 - 75 * static_cast<int>(basis.size() - 1) + 150 * static_cast<int>(i), width,
            FromGbk(basis[i]));
    DrawTextAt(painter, L + 100, T + 1400, QStringLiteral("检测仪器："));
    DrawTextFitted(painter, L + 400, T + 1800, width,
                   FromGbk(parameter(QStringLiteral("检测仪器"))));
    DrawTextAt(painter, L + 100, T + 2400, QStringLiteral("检测时间及检测环境："));
    const std::vector<std::string> conditions = ConditionLines(parameter, components);
    for (std::size_t i = 0; i < conditions.size(); ++i)
        DrawGbkAt(painter, L + 400, T + 2650 + 180 * static_cast<int>(i), conditions[i]);
    DrawTextAt(painter, L + 100, T + 3400, QStringLiteral("参加检测人员："));
    DrawTextAt(painter, L + 100, T + 4400,
               QStringLiteral("         主检人                          审定人"));
    DrawTextAt(painter, L + 100, T + 4800,
               QStringLiteral("         核  对                          批准人"));
}

}  // namespace ohmlet
