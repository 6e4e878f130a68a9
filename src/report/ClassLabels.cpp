#include "report/ClassLabels.h"

#include <map>

namespace ohmlet {

QString ClassDisplayName(const std::string& name) {
    static const std::map<std::string, QString> names = {
        {"negligible", QStringLiteral("可忽略")},     {"low", QStringLiteral("低")},
        {"moderate", QStringLiteral("中等")},         {"high", QStringLiteral("高")},
        {"low-moderate", QStringLiteral("低至中等")}, {"very-high", QStringLiteral("很高")},
    };
    const auto found = names.find(name);
    return found != names.end() ? found->second : QString::fromStdString(name);
}

QString ClassLegend(const ClassTable& table, std::size_t index) {
    const auto& classes = table.Classes();
    if (index >= classes.size()) return QString();
    const QString name = ClassDisplayName(classes[index].name);
    const std::size_t last = classes.size() - 1;
    if (index == last) return QStringLiteral("%1 <%2").arg(name).arg(classes[last - 1].lowerBound);
    if (index == 0) return QStringLiteral("%1 ≥%2").arg(name).arg(classes[0].lowerBound);
    return QStringLiteral("%1 %2–%3")
        .arg(name)
        .arg(classes[index].lowerBound)
        .arg(classes[index - 1].lowerBound);
}

}  // namespace ohmlet
