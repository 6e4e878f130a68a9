#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "report/GbkCodec.h"

// Literal expectations, so that ICU on Linux and code page 936 on Windows are held to
// the same answers.

namespace ohmlet {
namespace {

QString Units(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

TEST(GbkCodec, BytesReadAsTheSameTextEverywhere) {
    const struct {
        const char* what;
        std::string gbk;
        std::u16string_view text;
    } cases[] = {
        {"nothing", "", u""},
        {"ASCII and a character",
         "A\xc1\xba"
         "1",
         u"A梁1"},
        {"ideographic space", "\xa1\xa1", u"\u3000"},
        {"the euro sign's single byte", "\x80", u"€"},
        {"0xFF, a private-use character", "\xff", u"\uf8f5"},
        {"four-byte GB18030 forms are not GBK", "\x81\x30\x81\x30", u"\ufffd0\ufffd0"},
        {"a lead byte before a space", "\xc1 ", u"\ufffd "},
        {"a lead byte before DEL", "\x81\x7f", u"\ufffd\x7f"},
        {"half a character at the end is dropped", "\xb0\xe5\xc1", u"板"},
        {"a lone lead byte", "\xba", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(FromGbk(c.gbk), Units(c.text)) << c.what;
}

TEST(GbkCodec, TextWrittenAsTheSameBytesEverywhere) {
    const struct {
        const char* what;
        std::u16string_view text;
        std::string gbk;
    } cases[] = {
        {"nothing", u"", ""},
        {"characters and digits", u"梁1柱",
         "\xc1\xba"
         "1\xd6\xf9"},
        {"a Latin letter GBK has", u"é", "\xa8\xa6"},
        {"the euro sign", u"€", "\x80"},
        {"a combining accent GBK lacks", u"a\u0301", "a?"},
        {"a character outside the BMP", u"😀", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToGbk(Units(c.text)), c.gbk) << c.what;
}

}  // namespace
}  // namespace ohmlet
