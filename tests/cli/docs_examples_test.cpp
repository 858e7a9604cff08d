// Runs the examples of README.md, docs/scripting.md and the manual page with
// the built tavu-cli, so that every example stays true. How the documents mark
// them:
// - In Markdown, a ```sh block holding a line that starts with "tavu-cli " or
//   "build/tavu-cli " is an example. The whole block runs as one script under
//   "sh -e" and must succeed. A ```text block right after it (blank lines may
//   come between) is exactly what it prints; a line holding only "..." there
//   stands for any number of lines. Other blocks (```text alone, ``` and
//   ```json) are not run.
// - In the manual page, every line between .nf and .fi of EXAMPLES runs, with
//   "\-" read as "-".
// Each document runs in a folder of its own holding a copy of examples/ and
// examples/profiles.xml as profiles.xml, with build/tavu-cli and tavu-cli the
// built program, no settings file (every default) and the C locale.
#include "child_process.h"
#include "source_file.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tavu::test {
namespace {

struct Example {
    std::string script;
    std::optional<std::string> output; // what it prints, when the document shows it
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool runsTheProgram(const std::string& line) {
    return line.starts_with("tavu-cli ") || line.starts_with("build/tavu-cli ");
}

std::vector<Example> markdownExamples(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    std::vector<Example> examples;
    bool lastWasExample = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with("```")) {
            lastWasExample = lastWasExample && lines[i].empty();
            continue;
        }
        const std::string language = lines[i].substr(3);
        std::string body;
        bool example = false;
        for (++i; i < lines.size() && lines[i] != "```"; ++i) {
            body += lines[i] + "\n";
            example = example || (language == "sh" && runsTheProgram(lines[i]));
        }
        if (example) {
            examples.push_back({body, std::nullopt});
        } else if (language == "text" && lastWasExample) {
            examples.back().output = body;
        }
        lastWasExample = example;
    }
    return examples;
}

std::vector<Example> manualExamples(const std::string& text) {
    std::vector<Example> examples;
    const auto section = text.find(".SH EXAMPLES\n.nf\n");
    const auto end = text.find("\n.fi\n", section);
    for (std::string line : linesOf(text.substr(section + 17, end + 1 - section - 17))) {
        for (std::size_t at; (at = line.find("\\-")) != std::string::npos;) {
            line.erase(at, 1);
        }
        examples.push_back({line + "\n", std::nullopt});
    }
    return examples;
}

// Whether `actual` is `expected`, a line "..." in `expected` matching any lines.
bool matches(const std::string& actual, const std::string& expected) {
    const std::vector<std::string> have = linesOf(actual);
    const std::vector<std::string> want = linesOf(expected);
    if (!actual.empty() && !actual.ends_with('\n')) {
        return false;
    }
    std::size_t at = 0;
    bool skipping = false;
    for (const std::string& line : want) {
        if (line == "...") {
            skipping = true;
            continue;
        }
        while (skipping && at < have.size() && have[at] != line) {
            ++at;
        }
        if (at == have.size() || have[at] != line) {
            return false;
        }
        ++at;
        skipping = false;
    }
    return skipping || at == have.size();
}

// The exit status and standard output of a shell command; -1 when it does not
// end by itself within a minute.
std::pair<int, std::string> statusAndOutput(const std::string& command) {
    ChildProcess shell({"/bin/sh", "-c", command});
    std::string output = shell.rest();
    return {shell.exitStatus(std::chrono::minutes(1)), std::move(output)};
}

// Runs one script in `folder`.
std::pair<int, std::string> runScript(const TemporaryFolder& folder, const std::string& script) {
    folder.write("example.sh", script);
    const std::string path = folder.path().string();
    return statusAndOutput("cd '" + path + "' && PATH='" + path + "/build':\"$PATH\" " + "TAVU_INI='" + path +
                           "/missing.ini' LC_ALL=C sh -e example.sh");
}

struct Document {
    const char* path;
    std::vector<Example> (*examples)(const std::string& text);
};

void PrintTo(const Document& document, std::ostream* out) {
    *out << document.path;
}

class DocsExamples : public testing::TestWithParam<Document> {};

TEST_P(DocsExamples, RunAndPrintWhatTheDocumentShows) {
    const std::vector<Example> examples = GetParam().examples(sourceFileText(GetParam().path));
    ASSERT_FALSE(examples.empty()) << "no example found: the convention above has been broken";

    const TemporaryFolder folder("tavu-docs-");
    std::filesystem::create_directories(folder / "build");
    std::filesystem::copy(TAVU_SOURCE_DIR "/examples", folder / "examples");
    std::filesystem::copy_file(folder / "examples/profiles.xml", folder / "profiles.xml");
    std::filesystem::create_symlink(TAVU_CLI_PROGRAM, folder / "build/tavu-cli");
    for (const Example& example : examples) {
        const auto [status, output] = runScript(folder, example.script);
        EXPECT_EQ(status, 0) << example.script;
        if (example.output) {
            EXPECT_TRUE(matches(output, *example.output)) << example.script << "printed\n" << output;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, DocsExamples,
                         testing::Values(Document{"README.md", markdownExamples},
                                         Document{"docs/scripting.md", markdownExamples},
                                         Document{"packaging/tavu-cli.1", manualExamples}),
                         [](const auto& info) { return std::to_string(info.index); });

// What the completion offers for each command line, one offer a line.
TEST(BashCompletion, CompletesCommandsAndTheKeysTheProgramLists) {
    if (std::system("command -v bash >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "no bash";
    }
    const std::string script = "source '" TAVU_SOURCE_DIR "/packaging/tavu-cli.bash-completion'\n"
                               "offer() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _tavu_cli; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\"; }\n"
                               "offer '" TAVU_CLI_PROGRAM "' ge\n"
                               "offer '" TAVU_CLI_PROGRAM "' tree x --word wStart\n"
                               "offer '" TAVU_CLI_PROGRAM "' export-words x --language uk\n";
    const TemporaryFolder folder("tavu-completion-");
    const auto [status, output] =
        statusAndOutput("bash '" + folder.write("complete.bash", script).string() + "'");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "generate\nwStartWith=\nuk\n");
}

} // namespace
} // namespace tavu::test
