#pragma once
// The one path by which a Word, Excel or CSV file replaces its target: the writer hands
// its bytes over piece by piece and the safe writer puts them in place only when all of
// them arrived, so no library ever writes, renames or leaves a file beside the target.
#include <QString>
#include <cstddef>
#include <functional>
#include <string>

#include "report/office/OfficeOutcome.h"

namespace ohmlet {

// Takes the next piece of the file; false once writing failed (the save says why).
using OfficeSink = std::function<bool(const char* data, std::size_t size)>;
// Makes the file, giving its bytes to the sink; returns an empty text, or one sentence
// saying why the file could not be made.
using OfficeProducer = std::function<QString(const OfficeSink& sink)>;

// `localPath` names the target as the system's bytes. The target is opened before the
// producer runs, so a file that cannot be replaced costs no work.
OfficeOutcome SaveOfficeFile(const std::string& localPath, const OfficeProducer& produce);

}  // namespace ohmlet
