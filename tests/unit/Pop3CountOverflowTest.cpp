#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;

// A server can make the known count any int: with the number-only level its
// STAT count is taken as it is. The next check works on from there.
class Pop3CountOverflowTest : public CheckFixture {
protected:
    void checkWithStat(const std::string& stat) {
        Mailbox box;
        box.stat = stat;
        checkNow();
        serve(box);
        ASSERT_EQ(cycle.Account, 0);
    }
};

TEST_F(Pop3CountOverflowTest, LargestKnownCountStillNamesTheNextMessage) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    window.NewMLevelNumber.set(true);
    checkWithStat("+OK 2147483647 0");
    ASSERT_EQ(cycle.lastNumKnown[1], INT_MAX);

    checkWithStat("+OK 2147483647 0");
    EXPECT_TRUE(
        logged("numonser 2147483647 lastNumKnown[Account] 2147483647  TOP 2147483648 0\r\n"));
    EXPECT_TRUE(logged("5 - There are no new emails.\r\n"));
}

TEST_F(Pop3CountOverflowTest, NegativeCountsReadAsAnEmptyMailbox) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    window.NewMLevelNumber.set(true);
    checkWithStat("+OK -2147483648 0");
    EXPECT_EQ(cycle.numonser[1], 0);
    EXPECT_EQ(cycle.lastNumKnown[1], 0);
    EXPECT_EQ(accounts.Memon[1].get(), "");

    checkWithStat("+OK 2147483647 0");
    EXPECT_EQ(accounts.Memon[1].get(), "2147483647 New Emails!\r\n");
    EXPECT_EQ(cycle.lastNumKnown[1], INT_MAX);
}

}  // namespace
}  // namespace mivo
