#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cycle/CountdownClock.h"

namespace mivo {
namespace {

constexpr int kEraseLines = 30;

ClockInputs at(int tickBefore) {
    ClockInputs inputs;
    inputs.tickBefore = tickBefore;
    inputs.tickAfter = tickBefore + 1;
    return inputs;
}

TEST(CountdownClock, ColourRunsFromGreenToOrangeWithIntegerSteps) {
    struct Case {
        int t;
        int red;
        int green;
    };
    const Case cases[] = {
        {1, 2, 255},                                                       // 255/200 is 1, doubled
        {99, 252, 255},                                                    // 99*255/200 is 126
        {100, 255, 255}, {150, 255, 191}, {199, 255, 128}, {200, 255, 0},  // the interval is over
        {201, 255, 0},
    };
    for (const Case& c : cases) {
        ClockInputs inputs = at(c.t - 1);
        const PenColour expected{false, c.red, c.green, 0};
        EXPECT_EQ(clockColour(inputs), expected) << "t = " << c.t;
    }
}

TEST(CountdownClock, OverridesApplyInOrderLaterOnesWinning) {
    struct Case {
        const char* what;
        bool checkMailEvery;
        bool settingsOk;
        bool connected;
        bool connecting;
        bool accountError;
        int red;
        int green;
    };
    const Case cases[] = {
        {"connected", true, true, true, false, false, 255, 0},
        {"connecting", true, true, false, true, false, 255, 0},
        {"settings not ok", true, false, false, false, false, 255, 0},
        {"timed checks off", false, true, false, false, false, 0, 255},
        {"timed checks off while connecting", false, true, false, true, false, 0, 255},
        {"timed checks off, settings not ok", false, false, false, false, false, 255, 0},
        {"an account's error flag set", true, true, false, false, true, 255, 0},
        {"an account's error flag set, timed checks off", false, true, false, false, true, 255, 0},
    };
    for (const Case& c : cases) {
        ClockInputs inputs = at(10);
        inputs.checkMailEvery = c.checkMailEvery;
        inputs.settingsOk = c.settingsOk;
        inputs.connected = c.connected;
        inputs.connecting = c.connecting;
        inputs.accountError = c.accountError;
        const PenColour expected{false, c.red, c.green, 0};
        EXPECT_EQ(clockColour(inputs), expected) << c.what;
    }
}

TEST(CountdownClock, ErasesTheWholeSquareFirstWithTheButtonFace) {
    const std::vector<ClockSegment> segments = countdownClock(at(0));
    ASSERT_GT(segments.size(), static_cast<std::size_t>(kEraseLines));
    for (int i = 0; i < kEraseLines; ++i) {
        const ClockSegment expected{{2, 19 + i}, {32, 19 + i}, PenColour{true, 0, 0, 0}};
        EXPECT_EQ(segments[i], expected);
    }
    EXPECT_FALSE(segments[kEraseLines].colour.buttonFace);
}

TEST(CountdownClock, HandTurnsClockwiseOncePerInterval) {
    // The tip is P(a, 13), the third stroke's end of the last outline. At
    // tick 100 the sine of a is a hair below zero, and truncation moves the
    // tip one pixel left of the centre line.
    struct Case {
        int tickBefore;
        ClockPoint tip;
        ClockPoint leftBarb;
    };
    const Case cases[] = {
        {0, {17, 21}, {26, 43}},
        {50, {30, 34}, {7, 43}},
        {100, {16, 47}, {7, 24}},
        {150, {4, 34}, {26, 24}},
    };
    for (const Case& c : cases) {
        const std::vector<ClockSegment> segments = countdownClock(at(c.tickBefore));
        ASSERT_EQ(segments.size(), static_cast<std::size_t>(kEraseLines + 14 * 4));
        const ClockSegment* last = &segments[segments.size() - 4];
        EXPECT_EQ(last[0].from, (ClockPoint{17, 34})) << c.tickBefore;
        EXPECT_EQ(last[0].to, c.leftBarb) << c.tickBefore;
        EXPECT_EQ(last[1].to, c.tip) << c.tickBefore;
        EXPECT_EQ(last[3].to, (ClockPoint{17, 30})) << c.tickBefore;
    }
}

TEST(CountdownClock, HandOutlinesGrowFromTheCentreAndJoinUp) {
    const std::vector<ClockSegment> segments = countdownClock(at(0));
    for (std::size_t i = kEraseLines; i < segments.size(); i += 4) {
        EXPECT_EQ(segments[i].from, (ClockPoint{17, 34}));
        for (std::size_t k = 1; k < 4; ++k) {
            EXPECT_EQ(segments[i + k].from, segments[i + k - 1].to);
        }
    }
    // r = 0: every point is the centre.
    EXPECT_EQ(segments[kEraseLines + 1].from, (ClockPoint{17, 34}));
    EXPECT_EQ(segments[kEraseLines + 1].to, (ClockPoint{17, 34}));
}

TEST(CountdownClock, GreenStarWhenTimedChecksAreOff) {
    ClockInputs inputs = at(0);
    inputs.checkMailEvery = false;
    const std::vector<ClockSegment> segments = countdownClock(inputs);
    // 28 radii 0, 0.5 .. 13.5, each a closed path of eight strokes.
    ASSERT_EQ(segments.size(), static_cast<std::size_t>(kEraseLines + 28 * 8));
    const PenColour green{false, 0, 255, 0};
    for (std::size_t i = kEraseLines; i < segments.size(); i += 8) {
        EXPECT_EQ(segments[i + 7].to, segments[i].from);
        EXPECT_EQ(segments[i].colour, green);
    }
    // The outermost path at tick 0: long points down, right, up and left,
    // short ones (r / 3 = 4.5) between them; the tiny sines of the axes
    // truncate the down and left points by one pixel.
    const ClockSegment* outer = &segments[segments.size() - 8];
    EXPECT_EQ(outer[0].from, (ClockPoint{16, 47}));
    EXPECT_EQ(outer[0].to, (ClockPoint{20, 37}));
    EXPECT_EQ(outer[1].to, (ClockPoint{30, 34}));
    EXPECT_EQ(outer[3].to, (ClockPoint{17, 20}));
    EXPECT_EQ(outer[5].to, (ClockPoint{3, 33}));
}

TEST(CountdownClock, StarAlsoStandsForAnAccountErrorInRed) {
    ClockInputs inputs = at(120);
    inputs.settingsOk = false;
    const std::vector<ClockSegment> segments = countdownClock(inputs);
    ASSERT_EQ(segments.size(), static_cast<std::size_t>(kEraseLines + 28 * 8));
    EXPECT_TRUE(
        std::all_of(segments.begin() + kEraseLines, segments.end(), [](const ClockSegment& s) {
            return s.colour == PenColour{false, 255, 0, 0};
        }));
}

}  // namespace
}  // namespace mivo
