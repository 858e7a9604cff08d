#include "command.h"
#include "source_file.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::cli {
namespace {

std::vector<std::string> words(std::string_view text) {
    std::istringstream stream{std::string(text)};
    return {std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>()};
}

// The text between the first `open` after `from` and the next `close`.
std::string_view between(std::string_view text, std::string_view from, std::string_view open,
                         std::string_view close) {
    const auto start = text.find(open, text.find(from));
    if (start == std::string_view::npos) {
        return {};
    }
    const auto inner = start + open.size();
    return text.substr(inner, text.find(close, inner) - inner);
}

// What the completion offers as the first word: the commands, then the
// program's own options.
std::vector<std::string> completedFirstWords(std::string_view script) {
    return words(between(script, "-eq 1 ]", "compgen -W \"", "\""));
}

// The options completed after each command, from the lines
// `name | other) options="--a --b" ;;`.
std::map<std::string, std::set<std::string>> completedOptions(std::string_view script) {
    std::map<std::string, std::set<std::string>> options;
    std::istringstream lines{std::string(between(script, "case \"${COMP_WORDS[1]}\" in", "\n", "esac"))};
    for (std::string line; std::getline(lines, line);) {
        const auto parenthesis = line.find(") options=\"");
        if (parenthesis == std::string::npos) {
            continue;
        }
        const std::vector<std::string> flags = words(between(line, ")", "\"", "\""));
        for (const std::string& name : words(line.substr(0, parenthesis))) {
            if (name != "|") {
                options[name].insert(flags.begin(), flags.end());
            }
        }
    }
    return options;
}

// The commands the manual page describes, from `.TP` and `.B name` in its
// section COMMANDS.
std::vector<std::string> manualCommands(std::string_view page) {
    std::vector<std::string> names;
    std::istringstream lines{std::string(between(page, ".SH COMMANDS", "\n", "\n.SH"))};
    for (std::string line; std::getline(lines, line);) {
        if (line == ".TP" && std::getline(lines, line) && line.starts_with(".B ")) {
            std::string name = line.substr(3);
            // roff writes a hyphen as \-.
            for (std::size_t at; (at = name.find("\\-")) != std::string::npos;) {
                name.erase(at, 1);
            }
            names.push_back(name);
        }
    }
    return names;
}

std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    for (const Command* command : kCommands) {
        names.emplace_back(command->name);
    }
    return names;
}

TEST(Completion, OffersEveryCommandOfTheTableAndTheProgramsOptions) {
    std::vector<std::string> expected = commandNames();
    expected.insert(expected.end(), {"--help", "--version"});
    EXPECT_EQ(completedFirstWords(tavu::test::sourceFileText("packaging/tavu-cli.bash-completion")),
              expected);
}

TEST(Completion, OffersTheOptionsOfEachCommandAsItsHelpListsThem) {
    const auto completed = completedOptions(tavu::test::sourceFileText("packaging/tavu-cli.bash-completion"));
    for (const Command* command : kCommands) {
        std::set<std::string> expected{"--help"};
        for (const OptionHelp* option : command->options) {
            expected.insert(words(option->flag).front());
        }
        const auto found = completed.find(std::string(command->name));
        ASSERT_NE(found, completed.end()) << command->name;
        EXPECT_EQ(found->second, expected) << command->name;
    }
    EXPECT_EQ(completed.size(), std::size(kCommands));
}

TEST(ManualPage, DescribesEveryCommandOfTheTableInItsOrder) {
    EXPECT_EQ(manualCommands(tavu::test::sourceFileText("packaging/tavu-cli.1")), commandNames());
}

} // namespace
} // namespace tavu::cli
