#include "OfficeTestSupport.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QProcess>

#include "report/GbkCodec.h"
#include "support/TestSupport.h"

namespace ohmlet::test {

std::vector<Component> MakeComponents(const std::vector<ComponentSpec>& specs) {
    std::vector<Component> components;
    for (const ComponentSpec& spec : specs) {
        Component c = MakeComponent(spec.number, spec.readings, spec.selected ? 1 : 0,
                                    {ToGbk(QString::fromStdString(spec.name))},
                                    {ToGbk(QString::fromStdString(spec.date))});
        // No pass band, and every reading's spare word as the instrument sends it.
        c.designValue = c.lowerTolerance = c.upperTolerance = 0;
        for (MeasuringPoint& p : c.points) p.spare = 16;
        components.push_back(std::move(c));
    }
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
