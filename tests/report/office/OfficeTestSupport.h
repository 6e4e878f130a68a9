#pragma once
// Shared by the office tests: components made from UTF-8 texts, and the written files
// read back by Debian's python3-docx and python3-openpyxl.
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "data/Component.h"

namespace ohmlet::test {

struct ComponentSpec {
    std::string number;
    std::string name;  // UTF-8
    std::string date;  // UTF-8
    std::vector<int> readings;
    bool selected = true;
};

std::vector<Component> MakeComponents(const std::vector<ComponentSpec>& specs);

// count readings: first, first + 1, ...
std::vector<int> Readings(int count, int first = 1);

// Runs read_office.py; fails the current test (and returns an empty object) when the
// reader cannot make sense of the file.
QJsonObject ReadBack(const QString& kind, const QString& path);

// The folder holding 表格.docx, as built beside the program.
QString TemplateFolder();

}  // namespace ohmlet::test
