#include "report/PdfTextMapping.h"

#include <QRawFont>
#include <QString>
#include <vector>

namespace ohmlet {

namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

constexpr char16_t kFirstRadical = 0x2E80;  // CJK radicals supplement, then Kangxi radicals
constexpr char16_t kLastRadical = 0x2FDF;

// The ideograph a radical stands for; 0 when the code is not one or has no
// single-character equivalent in the basic plane.
char16_t IdeographFor(char16_t code, const std::map<char16_t, char16_t>& equivalents) {
    if (code < kFirstRadical || code > kLastRadical) return 0;
    auto it = equivalents.find(code);
    if (it != equivalents.end()) return it->second;
    const QString folded = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
    if (folded.size() != 1 || folded[0].unicode() == code) return 0;
    return folded[0].unicode();
}

// Rewrites one "<XXXX>" destination at pos when it names a radical.
int FixToken(QByteArray& pdf, qsizetype pos, const std::map<char16_t, char16_t>& equivalents) {
    if (pos + 5 >= pdf.size() || pdf[pos] != '<' || pdf[pos + 5] != '>') return 0;
    for (int i = 1; i <= 4; ++i)
        if (!IsHex(pdf[pos + i])) return 0;
    bool ok = false;
    const auto code = static_cast<char16_t>(pdf.mid(pos + 1, 4).toUInt(&ok, 16));
    const char16_t ideograph = ok ? IdeographFor(code, equivalents) : 0;
    if (!ideograph) return 0;
    const QByteArray hex = QByteArray::number(ideograph, 16).toUpper().rightJustified(4, '0');
    for (int i = 0; i < 4; ++i) pdf[pos + 1 + i] = hex[i];
    return 1;
}

// Positions of the "<...>" tokens of one line [from, to).
std::vector<qsizetype> Tokens(const QByteArray& pdf, qsizetype from, qsizetype to) {
    std::vector<qsizetype> tokens;
    for (qsizetype i = from; i < to; ++i)
        if (pdf[i] == '<') tokens.push_back(i);
    return tokens;
}

}  // namespace

std::map<char16_t, char16_t> RadicalEquivalents(const std::vector<QFont>& fonts) {
    std::map<char16_t, char16_t> result;
    QString ideographs, radicals;
    for (char16_t c = 0x4E00; c <= 0x9FFF; ++c) ideographs += QChar(c);
    for (char16_t c = kFirstRadical; c <= kLastRadical; ++c) radicals += QChar(c);
    for (const QFont& font : fonts) {
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.isValid()) continue;
        const QList<quint32> ideographGlyphs = raw.glyphIndexesForString(ideographs);
        const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
        std::map<quint32, char16_t> byGlyph;
        for (qsizetype i = 0; i < ideographGlyphs.size() && i < ideographs.size(); ++i)
            if (ideographGlyphs[i] != 0)
                byGlyph.emplace(ideographGlyphs[i], ideographs[i].unicode());
        for (qsizetype i = 0; i < radicalGlyphs.size() && i < radicals.size(); ++i) {
            auto it = byGlyph.find(radicalGlyphs[i]);
            if (radicalGlyphs[i] != 0 && it != byGlyph.end())
                result.emplace(radicals[i].unicode(), it->second);
        }
    }
    return result;
}

int FixRadicalNamesInPdf(QByteArray& pdf, const std::map<char16_t, char16_t>& equivalents) {
    int changed = 0;
    qsizetype at = 0;
    while ((at = pdf.indexOf("begincmap", at)) >= 0) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0) break;
        qsizetype line = at;
        bool inMap = false;  // between beginbfrange/beginbfchar and their end
        while (line < end) {
            qsizetype next = pdf.indexOf('\n', line);
            if (next < 0 || next > end) next = end;
            const QByteArray text = pdf.mid(line, next - line);
            line = next + 1;
            if (text.contains("beginbf")) inMap = true;
            if (text.contains("endbf")) inMap = false;
            if (!inMap || text.contains("beginbf")) continue;
            std::vector<qsizetype> t = Tokens(pdf, next - text.size(), next);
            const bool array = text.contains('[');
            if (array && t.size() > 2) {
                // <first> <last> [<dst> <dst> ...]: one name per code.
                for (std::size_t i = 2; i < t.size(); ++i)
                    changed += FixToken(pdf, t[i], equivalents);
            } else if (t.size() == 3 && pdf.mid(t[0], 6) == pdf.mid(t[1], 6)) {
                // <code> <code> <dst>: a range of one.
                changed += FixToken(pdf, t[2], equivalents);
            } else if (t.size() == 2) {
                changed += FixToken(pdf, t[1], equivalents);  // bfchar: <code> <dst>
            }
        }
        at = end;
    }
    return changed;
}

}  // namespace ohmlet
