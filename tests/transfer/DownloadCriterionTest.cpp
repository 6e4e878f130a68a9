// The instrument sends each component's minimum as its design value but no band: a
// download makes it a minimum again, so the readings of the example file, sent by the
// simulated USB instrument, pass as they do in the file.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "data/Document.h"
#include "data/DzlFile.h"
#include "transfer/Ch375Link.h"
#include "transfer/TransferSession.h"
#include "transfer/sim/UsbSimulation.h"

namespace ohmlet {
namespace {

struct Verdict {
    int32_t points = 0;
    int32_t passing = 0;
};

Verdict VerdictOf(const std::string& path) {
    Verdict v;
    Document doc;
    if (doc.Open(path).Ok()) {
        v.points = doc.TotalPointCount();
        v.passing = doc.TotalPassCount();
    }
    return v;
}

// Downloads over the simulated USB instrument serving `source`, with `fill` when given.
std::optional<Verdict> Download(const std::string& source, const std::optional<Criterion>& fill) {
    QTemporaryDir dir;
    const std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    UseSimulatedUsb(source);
    TransferSession session;
    if (fill) session.SetFillCriterion(*fill);
    QSignalSpy ended(&session, &TransferSession::ended);
    if (session.Start(std::make_unique<Ch375Link>(MakeCh375(), 0), ReplyLayout::Usb, target).code !=
            StartCode::Started ||
        !ended.wait(10000) || session.Result().code != TransferCode::Written)
        return std::nullopt;
    return VerdictOf(target);
}

TEST(DownloadCriterion, ExampleOverSimulatedUsbPassesAsTheFileDoes) {
    const Verdict file = VerdictOf(OHMLET_EXAMPLE_PATH);
    ASSERT_GT(file.points, 0);
    ASSERT_LT(file.passing, file.points);  // some readings fail: a verdict to compare
    struct Case {
        const char* what;
        std::optional<Criterion> fill;
        bool sameAsFile;
    } cases[] = {
        {"built-in default: a minimum at the sent value", std::nullopt, true},
        {"a band chosen in the settings instead", Criterion{45, -20, 30}, false},
        {"a narrower band", Criterion{45, -5, 5}, false},
        {"deviations only above", Criterion{0, 0, 30}, false},
    };
    for (const Case& c : cases) {
        std::optional<Verdict> got = Download(OHMLET_EXAMPLE_PATH, c.fill);
        ASSERT_TRUE(got) << c.what;
        EXPECT_EQ(got->points, file.points) << c.what;
        EXPECT_EQ(got->passing == file.passing, c.sameAsFile)
            << c.what << ": " << got->passing << " of " << got->points << " pass, the file "
            << file.passing;
    }
}

}  // namespace
}  // namespace ohmlet
