// The UIDL listing read line by line: usable only when it names every
// message STAT counted, in order, each with an id of its own that a server
// may give; otherwise the check goes by count.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pop3/NewMessages.h"
#include "pop3/UidListing.h"

namespace mivo {
namespace {

using Lines = std::vector<std::string>;

TEST(UidListing, IsUsableOnlyWhenItNamesEveryMessageOnceInOrder) {
    struct Case {
        const char* what;
        int onServer;
        Lines lines;
        bool usable;
    };
    const Case cases[] = {
        {"one id each", 3, {"1 a", "2 b", "3 c"}, true},
        {"blanks around the id", 2, {"1   a", "2\tb  "}, true},
        {"the longest id", 1, {"1 " + std::string(70, '~')}, true},
        {"nothing listed for an empty mailbox", 0, {}, true},
        {"an id too long", 1, {"1 " + std::string(71, 'x')}, false},
        {"a duplicate id", 2, {"1 same", "2 same"}, false},
        {"a message left out", 3, {"1 a", "3 c"}, false},
        {"fewer than STAT counted", 3, {"1 a", "2 b"}, false},
        {"more than STAT counted", 1, {"1 a", "2 b"}, false},
        {"out of order", 2, {"2 b", "1 a"}, false},
        {"a number named twice", 2, {"1 a", "1 b"}, false},
        {"no id", 1, {"1"}, false},
        {"no blank before the id", 1, {"1a"}, false},
        {"a blank inside the id", 1, {"1 a b"}, false},
        {"a byte past ASCII", 1, {"1 caf\xe9"}, false},
        {"a control byte", 1, {"1 a\x01"}, false},
        {"a signed number", 1, {"+1 a"}, false},
        {"no number", 1, {"a b"}, false},
        {"a byte-stuffed line", 1, {"..1 a"}, false},
        {"more messages than a listing may hold", UidListing::kMostMessages + 1, {"1 a"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UidListing listing;
        listing.begin(c.onServer);
        for (const std::string& line : c.lines) {
            listing.add(line);
        }
        ASSERT_EQ(listing.usable(), c.usable);
        if (c.usable) {
            ASSERT_EQ(listing.size(), c.onServer);
        }
    }
}

TEST(UidListing, KeepsEachMessagesIdAndNothingOfAListingThatWentWrong) {
    UidListing listing;
    listing.begin(3);
    for (const char* line : {"1 id-1", "2 x", "3 id-3"}) {
        listing.add(line);
    }
    ASSERT_TRUE(listing.usable());
    EXPECT_EQ(listing.id(1), "id-1");
    EXPECT_EQ(listing.id(2), "x");
    EXPECT_EQ(listing.id(3), "id-3");

    // A server that never stops listing the same message costs nothing
    // past the first line that breaks the rules.
    listing.begin(2);
    listing.add("1 a");
    for (int line = 0; line < 1000; ++line) {
        listing.add("1 " + std::string(70, 'x'));
    }
    EXPECT_EQ(listing.size(), 0);
    EXPECT_FALSE(listing.usable());
}

TEST(NewMessages, AreTheUnseenIdsWhereverTheyStandOrThoseAfterTheCount) {
    UidListing listing;
    listing.begin(5);
    for (const char* line : {"1 n1", "2 old", "3 n3", "4 old2", "5 n5"}) {
        listing.add(line);
    }
    ASSERT_TRUE(listing.usable());
    NewMessages byIds;
    byIds.notIn(listing, {"old", "old2", "gone"});
    EXPECT_EQ(byIds.count(), 3);
    std::vector<std::int64_t> taken;
    while (byIds.remaining()) {
        taken.push_back(byIds.take());
    }
    EXPECT_EQ(taken, (std::vector<std::int64_t>{1, 3, 5}));
    EXPECT_EQ(byIds.upcoming(), 6);  // past the last message once all are taken

    // By count a STAT count may be any int: nothing is held for it.
    NewMessages byCount;
    byCount.after(2147483645, 2147483647);
    EXPECT_EQ(byCount.count(), 2);
    EXPECT_EQ(byCount.take(), 2147483646);
    EXPECT_EQ(byCount.take(), 2147483647);
    EXPECT_FALSE(byCount.remaining());
    EXPECT_EQ(byCount.upcoming(), std::int64_t{2147483648});
}

}  // namespace
}  // namespace mivo
