#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <thread>

#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

QString FreshDecode(const std::string& gbk) {
    QStringDecoder decoder("GBK");
    return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

// The converters are kept between calls: a text cut inside a character must not lend
// its half to the next text, in either direction.
TEST(GbkCodec, EveryTextIsConvertedOnItsOwn) {
    const std::string liang = "\xc1\xba";  // 梁
    struct Case {
        const char* what;
        std::vector<std::string> texts;
    } cases[] = {
        {"whole characters", {liang, "A" + liang + "1", ""}},
        {"a lead byte at the end, then a trail byte", {"\xc1", "\xba", liang}},
        {"a lone trail byte first", {"\xba", "\xc1", "\xc1\xba\xc1", "\xba"}},
    };
    for (const Case& c : cases) {
        for (const std::string& text : c.texts)
            EXPECT_EQ(FromGbk(text), FreshDecode(text)) << c.what;
    }
    EXPECT_EQ(FromGbk(liang), QStringLiteral("梁"));
    EXPECT_EQ(ToGbk(QStringLiteral("梁1")), liang + "1");
    EXPECT_EQ(ToGbk(QString()), "");
}

TEST(GbkCodec, OtherThreadsConvertAlike) {
    QString decoded;
    std::string encoded;
    std::thread worker([&] {
        decoded = FromGbk("\xb0\xe5");  // 板
        encoded = ToGbk(QStringLiteral("柱"));
    });
    worker.join();
    EXPECT_EQ(decoded, QStringLiteral("板"));
    EXPECT_EQ(encoded, "\xd6\xf9");
}

}  // namespace
}  // namespace ohmlet
