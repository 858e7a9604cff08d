#include "hub/nmdc_key.h"

#include <gtest/gtest.h>

namespace tavu::hub {
namespace {

// Worked by hand from the rule: "ABCD" gives 0x41^0x44^0x43^5 = 0x43 -> 0x34,
// then 0x03 -> 0x30, 0x01 -> 0x10, 0x07 -> 0x70; in "ABBA" the equal pair
// gives 0, which is escaped.
TEST(LockToKey, AnswersLocksAsClientsDo) {
    EXPECT_EQ(lockToKey("ABCD"), std::string("40\x10p"));
    EXPECT_EQ(lockToKey("ABBA"), "t0/%DCN000%/0");
    EXPECT_EQ(lockToKey("ABBA Pk=anything"), "t0/%DCN000%/0");
}

} // namespace
} // namespace tavu::hub
