#include "report/ClassTableFile.h"

#include <QFileInfo>
#include <QStringDecoder>

#include "report/GbkCodec.h"
#include "report/IniFile.h"

namespace ohmlet {
namespace {

constexpr std::string_view kIniEnding = ".ini";

std::string ToUtf8(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) return text;
    return FromGbk(text).toStdString();
}

}  // namespace

ClassTableFileResult ReadClassTableFile(const std::string& path) {
    ClassTableFileResult result;
    auto fail = [&](ClassTableFileCode code, const std::string& why,
                    const std::string& cause = std::string()) {
        result.code = code;
        result.text = "the class table " + path + " " + why + ".";
        result.cause = cause;
        result.table.reset();
        return result;
    };
    if (path.size() <= kIniEnding.size() ||
        path.compare(path.size() - kIniEnding.size(), kIniEnding.size(), kIniEnding) != 0)
        return fail(ClassTableFileCode::CannotOpen, "does not end in .ini");

    // The settings reader takes a folder and a base name and adds ".ini" itself.
    const QFileInfo info(QString::fromStdString(path));
    IniFile ini;
    ini.SetExactLookup(true);
    ini.SetPath(info.path().toStdString());
    ini.SetFileName(info.completeBaseName().toStdString());
    if (!info.exists())
        return fail(ClassTableFileCode::CannotOpen, "cannot be read: it does not exist");
    if (!info.isFile())
        return fail(ClassTableFileCode::CannotOpen, "cannot be read: it is not a file");
    if (!ini.OpenForRead()) {
        const std::string cause = ini.LastOutcome().cause;
        return fail(ClassTableFileCode::CannotOpen,
                    cause.empty() ? "cannot be read" : "cannot be read: " + cause, cause);
    }
    if (!ini.FindSection(kClassTableSection))
        return fail(ClassTableFileCode::Invalid, "has no [Classes] section");

    std::string error;
    result.table = ClassTableFromSettings(
        info.completeBaseName().toStdString(),
        [&](const std::string& key) -> std::optional<std::string> {
            std::string value;
            if (!ini.ReadString(kClassTableSection, key, value)) return std::nullopt;
            return ToUtf8(value);
        },
        error);
    if (!result.table) return fail(ClassTableFileCode::Invalid, "is not usable: " + error, error);
    return result;
}

}  // namespace ohmlet
