// ohmlet-cli dump: every stored field as JSON, texts in UTF-8, values as read.
#include <iostream>

#include "cli/CliCommands.h"
#include "cli/ExtrasOutput.h"
#include "cli/JsonStream.h"
#include "data/DzlFile.h"
#include "data/ExtrasJson.h"

namespace ohmlet::cli {

namespace {

// The keys in sorted order, as the format has always listed them.
void WriteComponent(JsonStream& json, const Component& c) {
    json.BeginObject();
    json.Key("auxParam").Int(c.auxParam);
    json.Key("blockOffset").Int(c.blockOffset);
    json.Key("designValue").Number(c.designValue);
    // Only components that have extras show them: other files dump as they always did.
    if (!c.extras.IsEmpty()) WriteJsonValue(json.Key("extras"), ExtrasToJson(c.extras));
    json.Key("lowerTolerance").Number(c.lowerTolerance);
    json.Key("maxValue").Number(c.maxValue);
    json.Key("minValue").Number(c.minValue);
    WriteGbkText(json, "name", c.Name());
    WriteGbkText(json, "number", c.Number());
    json.Key("passCount").Number(c.passCount);
    json.Key("passRate").Number(c.passRate);
    json.Key("pointCount").Int(c.pointCount);
    json.Key("points").BeginArray();
    for (const MeasuringPoint& p : c.points) {
        json.BeginArray();
        json.Int(p.position);
        json.Int(p.value);
        json.Int(p.spare);
        json.EndArray();
    }
    json.EndArray();
    json.Key("reservedFloat").Number(c.reservedFloat);
    json.Key("selected").Int(c.selected);
    WriteGbkText(json, "testDate", c.TestDate());
    json.Key("upperTolerance").Number(c.upperTolerance);
    json.EndObject();
}

}  // namespace

int RunDump(Args args) {
    if (args.size() != 1) return UsageError("dump takes one DZL file.", args);
    DzlReadResult file = ReadDzlWarning(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);

    JsonStream json(std::cout);
    json.BeginObject();
    json.Key("componentCount").Int(static_cast<int64_t>(file.components.size()));
    json.Key("components").BeginArray();
    for (const Component& c : file.components) {
        if (!json.Good()) break;  // the exit check reports the cause
        WriteComponent(json, c);
    }
    json.EndArray();
    json.EndObject();
    return kExitOk;
}

const CommandHelp kDumpHelp = {
    "Prints every stored field of a DZL file as JSON, texts in UTF-8; a text whose bytes are "
    "not valid GBK also has them as hex under <field>Bytes; a component with a survey grid or "
    "conditions has them under extras.",
    {}};

}  // namespace ohmlet::cli
