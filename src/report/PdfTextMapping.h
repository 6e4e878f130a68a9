#pragma once
// CJK fonts map many ideographs and their Kangxi radical look-alikes (月 U+6708 and
// ⽉ U+2F49) to the same glyph. Qt's PDF writer names each glyph by the first code point
// it finds, the radical, so text copied or searched in the PDF does not match what was
// drawn. This rewrites those names in the text maps to the ideographs, byte for byte in
// place (same length), so the file's offsets stay valid.
#include <QByteArray>

namespace ohmlet {

// Returns the number of names changed.
int FixRadicalNamesInPdf(QByteArray& pdf);

}  // namespace ohmlet
