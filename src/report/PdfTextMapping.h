#pragma once
// CJK fonts map many ideographs and their Kangxi radical look-alikes (月 U+6708 and
// ⽉ U+2F49) to the same glyph. Qt's PDF writer names each glyph by the first code point
// it finds, the radical, so text copied or searched in the PDF does not match what was
// drawn. This rewrites those names in the text maps to the ideographs, byte for byte in
// place (same length), so the file's offsets stay valid.
#include <QByteArray>
#include <QFont>
#include <map>
#include <vector>

namespace ohmlet {

// Radical -> ideograph for the radicals each font draws with an ideograph's glyph.
std::map<char16_t, char16_t> RadicalEquivalents(const std::vector<QFont>& fonts);

// Returns the number of names changed. Radicals missing from `equivalents` fall back to
// their compatibility form (Kangxi radicals have one).
int FixRadicalNamesInPdf(QByteArray& pdf, const std::map<char16_t, char16_t>& equivalents = {});

}  // namespace ohmlet
