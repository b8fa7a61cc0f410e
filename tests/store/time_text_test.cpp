#include "store/time_text.h"

#include <gtest/gtest.h>

struct TimeCase {
    const char* text;
    qint64 secs;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class TimeStrToSecsTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeStrToSecsTest, Converts) {
    EXPECT_EQ(TimeStrToSecs(QString::fromLatin1(GetParam().text)), GetParam().secs);
}

INSTANTIATE_TEST_SUITE_P(Texts, TimeStrToSecsTest,
                         ::testing::Values(TimeCase{"0:00:00", 0}, TimeCase{"1:02:03", 3723},
                                           TimeCase{"01:02:03", 3723}, TimeCase{"1:2:3", 3723},
                                           TimeCase{"100:00:00", 360000}, TimeCase{"12:34", 43200},
                                           TimeCase{"5", 0}, TimeCase{"", 0},
                                           TimeCase{"1:02:03:04", 3720}, TimeCase{"0:30:59", 1859},
                                           TimeCase{"00:59:30", 3570},
                                           // seconds are read from their first two characters
                                           TimeCase{"0:00:123", 12}));

TEST(TimeStrToSecs, RejectsPartsThatAreNoNumbers) {
    EXPECT_THROW(TimeStrToSecs("a:00:00"), TimeTextError);
    EXPECT_THROW(TimeStrToSecs(":10:00"), TimeTextError);
    EXPECT_THROW(TimeStrToSecs("1:2x:00"), TimeTextError);
    EXPECT_THROW(TimeStrToSecs("1:02:3x"), TimeTextError);
}

TEST(TimeTexts, FormatsLogAndClockTimes) {
    EXPECT_EQ(SecsToLogTimeStr(3915), "01:05:15");
    EXPECT_EQ(SecsToLogTimeStr(125 * 3600), "125:00:00");
    EXPECT_EQ(SecsToLogTimeStr(0), "00:00:00");
    EXPECT_EQ(SecsToClockTimeStr(309), "0:05:09");
    EXPECT_EQ(TimeStrToSecs(SecsToLogTimeStr(86399)), 86399);
}

TEST(TimeTexts, AccuracyHasTwoDecimals) {
    EXPECT_EQ(AccuracyText(3, 1), "66.67");
    EXPECT_EQ(AccuracyText(4, 4), "0.00");
    EXPECT_EQ(AccuracyText(7, 0), "100.00");
    EXPECT_EQ(AccuracyText(0, 0), "0");
}
