// ohmlet-cli dump: every stored field as JSON, texts in UTF-8, values as read.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "cli/CliCommands.h"
#include "data/DzlFile.h"
#include "report/GbkCodec.h"

namespace ohmlet::cli {

namespace {

int RunDump(Args args) {
    if (args.size() != 1) return UsageError("dump takes one DZL file.");
    DzlReadResult file = ReadDzlFile(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);

    QJsonArray components;
    for (const Component& c : file.components) {
        QJsonObject o;
        o["number"] = FromGbk(c.Number());
        o["name"] = FromGbk(c.Name());
        o["testDate"] = FromGbk(c.TestDate());
        o["selected"] = c.selected;
        o["auxParam"] = c.auxParam;
        o["designValue"] = double(c.designValue);
        o["lowerTolerance"] = double(c.lowerTolerance);
        o["upperTolerance"] = double(c.upperTolerance);
        o["pointCount"] = c.pointCount;
        o["blockOffset"] = c.blockOffset;
        o["reservedFloat"] = double(c.reservedFloat);
        o["maxValue"] = double(c.maxValue);
        o["minValue"] = double(c.minValue);
        o["passCount"] = double(c.passCount);
        o["passRate"] = double(c.passRate);
        QJsonArray points;
        for (const MeasuringPoint& p : c.points)
            points.append(QJsonArray{p.position, p.value, p.spare});
        o["points"] = points;
        components.append(o);
    }
    QJsonObject root;
    root["componentCount"] = static_cast<int>(file.components.size());
    root["components"] = components;
    QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    return kExitOk;
}

const CommandRegistration kRegistration("dump", "FILE.DZL", RunDump);

}  // namespace
}  // namespace ohmlet::cli
