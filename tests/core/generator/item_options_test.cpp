// The four item options against the whole catalogue: each combination writes
// exactly the rows whose options are all on, and each row asks for the options
// its item shows it needs.

#include "generator/catalogue.h"
#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

using namespace catalogue;

// Every row's options, in the order the frame writes the groups.
std::vector<ItemOption> declaredOptions() {
    std::vector<ItemOption> options;
    for (const std::span<const Row> rows :
         {topLevelRows(), firstMiscellaneousRows(), informationRows(), hubControlRows(), accountsRows(),
          userControlRows(), secondMiscellaneousRows()}) {
        for (const Row& row : rows) {
            options.push_back(row.options);
        }
    }
    return options;
}

// The items the example's owner, whose profile grants everything, gets with
// these item options and every menu group.
std::vector<std::string> itemsWith(unsigned on) {
    GenerationOptions options = allOptionsOn();
    options.clear = options.message = false;
    options.selectedUser = (on & Selected) != 0;
    options.anyUser = (on & Any) != 0;
    options.offsets = (on & Offsets) != 0;
    options.fastUserControl = (on & Fast) != 0;
    const Generation generation =
        generate(ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml").value(), options);
    EXPECT_FALSE(generation.stop);
    return emissions(generation.text);
}

constexpr unsigned kEveryOption = Selected | Any | Offsets | Fast;

class ItemOptions : public testing::TestWithParam<unsigned> {};

TEST_P(ItemOptions, WriteExactlyTheRowsWhoseOptionsAreAllOn) {
    const std::vector<ItemOption> declared = declaredOptions();
    // With every option on, every row is written (the owner passes every
    // permission), so item i is row i.
    const std::vector<std::string> every = itemsWith(kEveryOption);
    ASSERT_EQ(every.size(), declared.size());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if ((declared[i] & GetParam()) == declared[i]) {
            expected.push_back(every[i]);
        }
    }
    EXPECT_EQ(itemsWith(GetParam()), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryCombination, ItemOptions, testing::Range(0u, kEveryOption + 1));

bool inMenuPath(const std::string& item, Word word) {
    const std::size_t start = std::string_view("$UserCommand 1 3 ").size();
    const std::string path = "\\ " + item.substr(start, item.find("$<") - start) + "\\ ";
    return path.find("\\ " + kPrefix + std::string(Vocabulary{}.text(word)) + "\\ ") != std::string::npos;
}

bool asksFor(const std::string& item, Word word) {
    return item.find("%[line:" + std::string(Vocabulary{}.text(word)) + "]") != std::string::npos;
}

TEST(ItemOptions, EveryRowAsksForTheOptionsItsItemNeeds) {
    const std::vector<ItemOption> declared = declaredOptions();
    const std::vector<std::string> every = itemsWith(kEveryOption);
    ASSERT_EQ(every.size(), declared.size());
    for (std::size_t i = 0; i < declared.size(); ++i) {
        const std::string& item = every[i];
        EXPECT_EQ((declared[i] & Selected) != 0, item.find("%[nick]") != std::string::npos) << item;
        // A chat room is named by a nick too, but that item is for no user.
        EXPECT_EQ((declared[i] & Any) != 0,
                  asksFor(item, Word::wNick) && item.find(".addchatroom ") == item.npos)
            << item;
        EXPECT_EQ((declared[i] & Offsets) != 0, asksFor(item, Word::wOffset)) << item;
        EXPECT_EQ((declared[i] & Fast) != 0, inMenuPath(item, Word::wFast)) << item;
    }
}

} // namespace
} // namespace tavu::test
