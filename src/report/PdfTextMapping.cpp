#include "PdfTextMapping.h"

#include <QString>
#include <vector>

namespace ohmlet {

namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The ideograph a radical (Kangxi radicals, CJK radicals supplement) stands for; 0 when
// the code is not one or has no single-character equivalent in the basic plane.
char16_t IdeographFor(char16_t code) {
    if (code < 0x2E80 || code > 0x2FDF) return 0;
    const QString folded = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
    if (folded.size() != 1 || folded[0].unicode() == code) return 0;
    return folded[0].unicode();
}

// Rewrites one "<XXXX>" destination at pos when it names a radical.
int FixToken(QByteArray& pdf, qsizetype pos) {
    if (pos + 5 >= pdf.size() || pdf[pos] != '<' || pdf[pos + 5] != '>') return 0;
    for (int i = 1; i <= 4; ++i)
        if (!IsHex(pdf[pos + i])) return 0;
    bool ok = false;
    const auto code = static_cast<char16_t>(pdf.mid(pos + 1, 4).toUInt(&ok, 16));
    const char16_t ideograph = ok ? IdeographFor(code) : 0;
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

int FixRadicalNamesInPdf(QByteArray& pdf) {
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
                for (std::size_t i = 2; i < t.size(); ++i) changed += FixToken(pdf, t[i]);
            } else if (t.size() == 3 && pdf.mid(t[0], 6) == pdf.mid(t[1], 6)) {
                // <code> <code> <dst>: a range of one.
                changed += FixToken(pdf, t[2]);
            } else if (t.size() == 2) {
                changed += FixToken(pdf, t[1]);  // bfchar: <code> <dst>
            }
        }
        at = end;
    }
    return changed;
}

}  // namespace ohmlet
