// The message window's size for its text, the sparse dialog's count and
// the status row's numbers and progress.
#include <gtest/gtest.h>

#include <cmath>

#include "dialogs/messagelayout.h"
#include "dialogs/sparsecount.h"
#include "dialogs/statusrow.h"

namespace {

TEST(MessageWindow, LongMessagesAreNeverCut)
{
    for (auto [textW, textH] : {std::pair{460, 48}, std::pair{900, 16}, std::pair{10, 200}}) {
        const MessageLayout m = messageLayout(textW, textH);
        EXPECT_GE(m.text.w, textW) << "text box narrower than the text";
        EXPECT_GE(m.text.h, textH) << "text box lower than the text";
        EXPECT_LE(m.text.x + m.text.w, m.w) << "text box runs out of the window";
        EXPECT_GE(m.ok.y, m.text.y + m.text.h) << "OK button over the text";
        EXPECT_LE(m.ok.y + m.ok.h, m.h) << "OK button below the window's edge";
        EXPECT_EQ(m.ok.x * 2 + m.ok.w, m.w) << "OK button not centred";
    }
}

TEST(SparseCount, ReadAsALeadingWholeNumber)
{
    struct Row {
        const char* text;
        std::optional<int> n;
    };
    const Row rows[] = {
        {"", 0},
        {"abc", 0},
        {"500", 500},
        {"  +300", 300},
        {"25abc", 25},
        {"25 heights", 25},
        {"-5", -5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"-2147483649", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseSparseCount(r.text), r.n) << "count typed as \"" << r.text << "\"";
}

} // namespace

namespace {

TEST(StatusRow, MapCoordinatesAreShownWhole)
{
    EXPECT_EQ(statusDecimals(5100000), 0) << "a y corner of 5100000 would read 5.1e+06";
    EXPECT_EQ(statusDecimals(-1e6), 0);
    EXPECT_EQ(statusDecimals(600000), -1) << "short numbers keep their shortest form";
    EXPECT_EQ(statusDecimals(0.000833), -1) << "a cell size in degrees would read 0";
}

TEST(StatusRow, ProgressIsShownInWholePercentRoundedDown)
{
    const struct {
        const char* stage;
        double fraction;
        const char* label;
    } rows[] = {
        {"Reading", 0.4, "Reading 40 %"},
        {"Reading", 0.999, "Reading 99 %"}, // 100 % only when done
        {"Computing curvature differences", 0.6 + 0.3, "Computing curvature differences 90 %"},
        {"Done", 1.0, "Done 100 %"},
        {"Reading", -0.1, "Reading 0 %"},
        {"Reading", std::nan(""), "Reading 0 %"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(progressLabel(r.stage, r.fraction), r.label) << r.fraction;
}

} // namespace
