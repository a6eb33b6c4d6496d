// When the window reports an overflow: once per failure, never while its
// message is still open.
#include "app/overflow_report.h"

#include <gtest/gtest.h>

namespace cubrix {
namespace {

TEST(OverflowReport, OnceUntilAGoodPassAndNeverWhileOpen) {
    OverflowReport report;
    // failed?, shown?  (and when the message is closed)
    EXPECT_FALSE(report.passFinished(false));
    EXPECT_TRUE(report.passFinished(true));
    EXPECT_FALSE(report.passFinished(true));
    EXPECT_FALSE(report.passFinished(false));  // recovered while still open
    EXPECT_FALSE(report.passFinished(true));   // open: not a second one
    report.messageClosed();
    EXPECT_FALSE(report.passFinished(true));  // same failure since the last report
    EXPECT_FALSE(report.passFinished(false));
    EXPECT_TRUE(report.passFinished(true));
}

}  // namespace
}  // namespace cubrix
