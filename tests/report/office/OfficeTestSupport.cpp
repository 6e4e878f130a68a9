#include "OfficeTestSupport.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QProcess>

#include "report/GbkCodec.h"

namespace ohmlet::test {

Component MakeComponent(const ComponentSpec& spec) {
    Component c;
    c.SetNumber(spec.number);
    c.SetName(ToGbk(QString::fromStdString(spec.name)));
    c.SetTestDate(ToGbk(QString::fromStdString(spec.date)));
    c.selected = spec.selected ? 1 : 0;
    c.pointCount = static_cast<int32_t>(spec.readings.size());
    for (int value : spec.readings) c.points.push_back({0, value, 16});
    return c;
}

std::vector<Component> MakeComponents(const std::vector<ComponentSpec>& specs) {
    std::vector<Component> components;
    for (const ComponentSpec& spec : specs) components.push_back(MakeComponent(spec));
    return components;
}

std::vector<int> Readings(int count, int first) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(first + i);
    return values;
}

QJsonObject ReadBack(const QString& kind, const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(OHMLET_OFFICE_READER), kind, path});
    bool finished = reader.waitForFinished(120000);
    QByteArray out = reader.readAllStandardOutput();
    QByteArray err = reader.readAllStandardError();
    EXPECT_TRUE(finished && reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0)
        << "the reader could not read " << path.toStdString() << ": " << err.toStdString();
    QJsonParseError error;
    QJsonDocument json = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << err.toStdString();
    return json.object();
}

QString TemplateFolder() { return QStringLiteral(OHMLET_PROGRAM_FOLDER); }

}  // namespace ohmlet::test
