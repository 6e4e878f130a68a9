#include "report/ClassNames.h"

#include "data/PassRate.h"

#include <QCoreApplication>
#include <QStringList>
#include <numeric>

namespace ohmlet {

QString ClassDisplayName(const CorrosionClass& cls, ClassWording wording) {
    static const struct {
        const char* name;
        const char* shown;
    } kBuiltIn[] = {
        {"negligible", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "可忽略")},
        {"low", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "低")},
        {"moderate", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "中等")},
        {"high", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "高")},
        {"low-moderate", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "低至中等")},
        {"very-high", QT_TRANSLATE_NOOP("ohmlet::ClassNames", "很高")},
    };
    for (const auto& b : kBuiltIn) {
        if (cls.name != b.name) continue;
        return wording == ClassWording::kInterface
                   ? QCoreApplication::translate("ohmlet::ClassNames", b.shown)
                   : QString::fromUtf8(b.shown);
    }
    return QString::fromStdString(cls.name);
}

// Every range says which end it holds: a reading on a bound belongs to the class below.
QString ClassRangeText(const ClassTable& table, std::size_t index, ClassWording wording) {
    const auto& classes = table.Classes();
    if (index >= classes.size()) return {};
    const auto text = [wording](const char* chinese) {
        return wording == ClassWording::kInterface
                   ? QCoreApplication::translate("ohmlet::ClassNames", chinese)
                   : QString::fromUtf8(chinese);
    };
    if (index + 1 == classes.size())
        return QStringLiteral("≤ %1").arg(classes[index - 1].lowerBound);
    if (index == 0) return QStringLiteral("> %1").arg(classes[0].lowerBound);
    return text(QT_TRANSLATE_NOOP("ohmlet::ClassNames", "%1–%2（不含%1）"))
        .arg(classes[index].lowerBound)
        .arg(classes[index - 1].lowerBound);
}

QString ClassTableScope(const ClassTable& table, ClassWording wording) {
    const char* scope = nullptr;
    if (table.Name() == ClassTable::Rilem().Name())
        scope = QT_TRANSLATE_NOOP("ohmlet::ClassNames", "普通硅酸盐混凝土，约20 °C，锈蚀风险");
    else if (table.Name() == ClassTable::Langford().Name())
        scope = QT_TRANSLATE_NOOP("ohmlet::ClassNames", "钢筋已脱钝时的锈蚀速率");
    if (!scope) return {};
    return wording == ClassWording::kInterface
               ? QCoreApplication::translate("ohmlet::ClassNames", scope)
               : QString::fromUtf8(scope);
}

QString ClassMeasureName(const ClassTable& table, ClassWording wording) {
    const char* measure = table.Name() == ClassTable::Langford().Name()
                              ? QT_TRANSLATE_NOOP("ohmlet::ClassNames", "锈蚀速率")
                          : table.Name() == ClassTable::Rilem().Name()
                              ? QT_TRANSLATE_NOOP("ohmlet::ClassNames", "锈蚀风险")
                              : QT_TRANSLATE_NOOP("ohmlet::ClassNames", "等级");
    return wording == ClassWording::kInterface
               ? QCoreApplication::translate("ohmlet::ClassNames", measure)
               : QString::fromUtf8(measure);
}

QString ClassLegendText(const ClassTable& table, std::size_t index, ClassWording wording) {
    if (index >= table.Size()) return {};
    return ClassDisplayName(table.Classes()[index], wording) + ' ' +
           ClassRangeText(table, index, wording);
}

QString PassRateText(int64_t passed, int64_t valid) {
    if (valid <= 0) return QStringLiteral("-");
    return QString::fromStdString(RateText(passed, valid)) + QLatin1Char('%');
}

QString PercentText(double share) { return QString::number(share * 100.0, 'f', 1) + '%'; }

QString ClassSharesText(const ClassTable& table, const ClassCounts& counts, ClassWording wording) {
    const int64_t total = std::accumulate(counts.begin(), counts.end(), int64_t{0});
    if (total == 0) return QStringLiteral("-");
    QStringList parts;
    for (std::size_t i = 0; i < counts.size() && i < table.Size(); ++i) {
        if (counts[i] == 0) continue;
        parts << ClassDisplayName(table.Classes()[i], wording) + ' ' +
                     QString::number(
                         100.0 * static_cast<double>(counts[i]) / static_cast<double>(total), 'f',
                         0) +
                     '%';
    }
    return parts.join(QStringLiteral(" · "));
}

QString StatText(const std::optional<double>& value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QStringLiteral("-");
}

}  // namespace ohmlet
