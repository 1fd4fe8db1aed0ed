// The urgent notice: its stripes, the counter that moves them, and the
// Continue button's delay.

#include <gtest/gtest.h>

#include <vector>

#include "CheckFixture.h"
#include "windows/UrgentStripes.h"

namespace mivo {
namespace {

using test::CheckFixture;

TEST(UrgentStripes, EachTickDrawsOneYellowAndOneBlackLinePer20PixelsFromAboveTheColumn) {
    struct Case {
        int counter;
        StripeColumn column;
        bool mirrored;
        std::vector<StripeLine> firstPair;
        int lastTop;  // where the last pair starts
    };
    constexpr StripeColumn left{8, 0, 49, 353};
    constexpr StripeColumn right{496, 0, 49, 353};
    using enum StripeColour;
    const Case cases[] = {
        {1, left, false, {{{8, -49}, {57, -39}, Yellow}, {{8, -39}, {57, -29}, Black}}, 371},
        {6, left, false, {{{8, -44}, {57, -34}, Yellow}, {{8, -34}, {57, -24}, Black}}, 376},
        {25, left, false, {{{8, -25}, {57, -15}, Yellow}, {{8, -15}, {57, -5}, Black}}, 395},
        {25, right, true, {{{545, -25}, {496, -15}, Yellow}, {{545, -15}, {496, -5}, Black}}, 395},
        {3,
         {10, 100, 20, 40},
         false,
         {{{10, 53}, {30, 63}, Yellow}, {{10, 63}, {30, 73}, Black}},
         153},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.counter << (c.mirrored ? " mirrored" : ""));
        const std::vector<StripeLine> lines = stripeSegments(c.counter, c.column, c.mirrored);
        ASSERT_GE(lines.size(), 2U);
        EXPECT_EQ(std::vector<StripeLine>(lines.begin(), lines.begin() + 2), c.firstPair);
        EXPECT_EQ(lines[lines.size() - 2].from.y, c.lastTop);
        for (std::size_t i = 2; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].from.y, lines[i - 2].from.y + 20);
            EXPECT_EQ(lines[i].colour, lines[i - 2].colour);
        }
    }
}

class UrgentNoticeTest : public CheckFixture {
protected:
    UrgentNoticeModel& model() { return program.urgentNotice(); }
    void noticeTick() { timers.tick(TimerId::UrgentNoticeStripes); }
    bool ticking() { return timers.timers[TimerId::UrgentNoticeStripes].enabled; }
};

TEST_F(UrgentNoticeTest, ContinueAppearsOnTheFourthTickAndTheCounterRunsSixToTwentyFive) {
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        program.urgentNoticeBehaviour().Show();
        EXPECT_TRUE(ticking());
        EXPECT_FALSE(model().Button1Visible.get());
        EXPECT_EQ(model().stripeCounter, 0);
        for (int tick = 1; tick <= 70; ++tick) {
            noticeTick();
            const int counter = model().stripeCounter;
            EXPECT_EQ(model().Button1Visible.get(), tick >= 4);
            EXPECT_EQ(counter, tick <= 25 ? tick : 6 + (tick - 26) % 20);
            std::vector<StripeLine> drawn =
                stripeSegments(counter, UrgentNoticeModel::kBevel1, false);
            const std::vector<StripeLine> right =
                stripeSegments(counter, UrgentNoticeModel::kBevel2, true);
            drawn.insert(drawn.end(), right.begin(), right.end());
            ASSERT_EQ(ui.lastStripes, drawn);
        }
        program.urgentNoticeBehaviour().Button1Click();
        EXPECT_FALSE(ui.isWindowVisible(WindowId::UrgentNotice));
        EXPECT_FALSE(ticking());
    }
}

}  // namespace
}  // namespace mivo
