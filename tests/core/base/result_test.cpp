#include "base/result.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace tavu::test {
namespace {

struct Missing {
    std::string name;
};
struct Refused {
    int code = 0;
};
using Failure = std::variant<Missing, Refused>;

Result<std::string, Failure> found(int which) {
    if (which == 1) {
        return Missing{"profiles.xml"};
    }
    if (which == 2) {
        return Refused{13};
    }
    return std::string("found");
}

TEST(Result, AKindOfFailureIsTheFailureAndAValueTheValue) {
    const auto value = found(0);
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value.value(), "found");

    const auto missing = found(1);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(std::get<Missing>(missing.failure()).name, "profiles.xml");

    auto refused = found(2);
    ASSERT_FALSE(refused);
    EXPECT_EQ(std::get<Refused>(std::move(refused).failure()).code, 13);
}

} // namespace
} // namespace tavu::test
