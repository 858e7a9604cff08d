// The menu preview against a real Direct Connect client: the client library
// of EiskaltDC++ connects to the loopback hub, reads a block as a client
// does, and every user command it announces and keeps is compared with what
// the preview reads from the same bytes.

#include "base/escaping.h"
#include "hub/hub_server.h"
#include "platform/file.h"
#include "preview/menu_preview.h"
#include "reference_library.h"

// The library's headers, built by Debian with Lua scripting and DHT: the same
// definitions give its classes the layout the library was built with.
#include <dcpp/stdinc.h>

#include <dcpp/ChatMessage.h>
#include <dcpp/Client.h>
#include <dcpp/ClientManager.h>
#include <dcpp/FavoriteManager.h>
#include <dcpp/Util.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace tavu::test {
namespace {

using preview::MenuNode;
using preview::Piece;

// What the hub says in main chat after the block: once the library has read
// it, it has read every command before it.
constexpr std::string_view kEndOfBlock = "end of the block";
constexpr auto kWaitLimit = std::chrono::seconds(10);

// One user command as the library announces or keeps it, or as the preview
// expects it: the title as its path, the command unescaped.
struct Command {
    int type = 0;
    int context = 0;
    std::vector<std::string> path;
    std::string command;
    bool operator==(const Command&) const = default;
};

void PrintTo(const Command& command, std::ostream* out) {
    *out << "\n  {type " << command.type << ", context " << command.context << ", path";
    for (const std::string& part : command.path) {
        *out << " " << quotedText(part);
    }
    *out << ", command " << quotedText(command.command) << "}";
}

// The commands the library announces to a client of one hub, which arrive on
// the library's socket thread.
class Announcements : public dcpp::ClientListener {
public:
    void on(dcpp::ClientListener::HubUserCommand, dcpp::Client* /*client*/, int type, int context,
            const std::string& name, const std::string& command) noexcept override {
        const std::scoped_lock lock(mutex_);
        const dcpp::UserCommand read(0, type, context, 0, name, command, "", "");
        announced_.push_back(Command{type, context, read.getDisplayName(), command});
    }
    void on(dcpp::ClientListener::Message, dcpp::Client* /*client*/,
            const dcpp::ChatMessage& message) noexcept override {
        if (message.text == kEndOfBlock) {
            finish({});
        }
    }
    // Fired after Connected when the connection is refused, and when it drops.
    void on(dcpp::ClientListener::Failed, dcpp::Client* /*client*/,
            const std::string& reason) noexcept override {
        finish(reason);
    }

    // Empty when the whole block was read within the time limit, else why not.
    [[nodiscard]] std::string waitForTheBlock() {
        return outcome_.wait(kWaitLimit, "the block did not arrive within the time limit");
    }

    std::vector<Command> announced() {
        const std::scoped_lock lock(mutex_);
        return announced_;
    }

private:
    void finish(const std::string& failure) { outcome_.finish(failure); }

    FirstOutcome outcome_;
    std::mutex mutex_;
    std::vector<Command> announced_;
};

// What the library made of a block: every command it announced, those it
// keeps for the hub's menus once it has read them all, and what the hub got
// when each item kept was clicked, in order.
struct LibraryReading {
    std::vector<Command> announced;
    std::vector<Command> kept;
    std::vector<std::string> sent;
};

// Runs once for the whole program: the library keeps its state in singletons.
class ReferenceLibrary : public testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(run_.start("tester"), ""); }
    void TearDown() override { run_.stop(); }

private:
    ReferenceLibraryRun run_;
};

// The messages the hub printed that a client sent, each without its time of
// day; they are printed on the hub's thread.
class SentMessages {
public:
    hub::PrintLine printer() {
        return [this](const std::string& line) {
            const std::string message = line.substr(line.find(' ') + 1);
            if (message.starts_with('<')) {
                const std::scoped_lock lock(mutex_);
                messages_.push_back(message);
                arrived_.notify_all();
            }
        };
    }

    std::vector<std::string> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, kWaitLimit, [&] { return messages_.size() >= count; });
        return messages_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> messages_;
};

// The library's commands for the hub's menus, which go with the client.
std::vector<dcpp::UserCommand> keptFor(const std::string& address) {
    std::vector<dcpp::UserCommand> kept;
    for (const dcpp::UserCommand& command : dcpp::FavoriteManager::getInstance()->getUserCommands()) {
        if (command.getHub() == address) {
            kept.push_back(command);
        }
    }
    return kept;
}

enum class Clicks { None, EveryItem };

// Serves the block on the loopback hub and lets the library log in and read
// it; then it may click every item kept, on the user-list menu's user Alice,
// each of whose commands must end its message with a "|".
LibraryReading readWithTheLibrary(const std::string& block, Clicks clicks = Clicks::None) {
    SentMessages sent;
    hub::HubServerThread server(hub::HubMenu{block, std::string(kEndOfBlock), CodePage::Utf8},
                                sent.printer());
    LibraryReading reading;
    const auto listening = server.start(hub::kLoopbackAddress, 0);
    EXPECT_TRUE(listening.ok()) << (listening ? std::string() : listening.failure().message());
    if (!listening) {
        return reading;
    }
    const std::string address = "127.0.0.1:" + std::to_string(server.server().port());
    dcpp::Client* client = dcpp::ClientManager::getInstance()->getClient(address);
    Announcements announcements;
    client->addListener(&announcements);
    client->connect();
    EXPECT_EQ(announcements.waitForTheBlock(), "");
    reading.announced = announcements.announced();
    std::size_t clicked = 0;
    for (const dcpp::UserCommand& kept : keptFor(address)) {
        reading.kept.push_back(
            Command{kept.getType(), kept.getCtx(), kept.getDisplayName(), kept.getCommand()});
        if (clicks == Clicks::EveryItem && kept.isRaw()) {
            const dcpp::ParamMap values{{"mynick", "tester"}, {"nick", std::string(hub::kOtherUser)}};
            client->sendUserCmd(kept, values);
            ++clicked;
        }
    }
    reading.sent = sent.waitFor(clicked);
    client->removeListener(&announcements);
    dcpp::ClientManager::getInstance()->putClient(client);
    return reading;
}

bool isAnnounced(const Piece& piece) {
    using preview::CommandType;
    return piece.kind == Piece::Kind::UserCommand && piece.terminated &&
           (piece.type == static_cast<int>(CommandType::Separator) ||
            piece.type == static_cast<int>(CommandType::Raw) ||
            piece.type == static_cast<int>(CommandType::RawOnce) ||
            piece.type == static_cast<int>(CommandType::Clear));
}

// The commands the preview reads from the block that clients act on.
std::vector<Command> previewAnnouncements(const std::string& block) {
    std::vector<Command> commands;
    for (const Piece& piece : preview::cutIntoPieces(block)) {
        if (isAnnounced(piece)) {
            commands.push_back(Command{piece.type, static_cast<int>(piece.context),
                                       preview::titlePath(piece.title), piece.command});
        }
    }
    return commands;
}

// An entry of a menu with its piece: items with their path, separators alone.
struct Entry {
    std::size_t piece = 0;
    Command command;
};

void collectEntries(const std::vector<MenuNode>& nodes, std::vector<std::string>& path,
                    std::vector<Entry>& entries) {
    for (const MenuNode& node : nodes) {
        if (node.kind == MenuNode::Kind::Submenu) {
            path.push_back(node.title);
            collectEntries(node.children, path, entries);
            path.pop_back();
        } else if (node.kind == MenuNode::Kind::Separator) {
            entries.push_back(Entry{node.piece, Command{}});
        } else {
            path.push_back(node.title);
            entries.push_back(Entry{node.piece, Command{1, 0, path, node.command}});
            path.pop_back();
        }
    }
}

// A menu's entries in the order of their pieces, which is the order the
// library keeps its commands in, whatever submenu each went into.
std::vector<Command> inPieceOrder(const std::vector<MenuNode>& menu) {
    std::vector<Entry> entries;
    std::vector<std::string> path;
    collectEntries(menu, path, entries);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.piece < b.piece; });
    std::vector<Command> commands;
    commands.reserve(entries.size());
    for (const Entry& entry : entries) {
        commands.push_back(entry.command);
    }
    return commands;
}

// The library's kept commands of one menu, as the menu shows them: items by
// their path and command, separators alone, titles that make no item left out.
std::vector<Command> keptInMenu(const std::vector<Command>& kept, int contextBit) {
    std::vector<Command> commands;
    for (const Command& command : kept) {
        if ((command.context & contextBit) == 0) {
            continue;
        }
        if (command.type == static_cast<int>(preview::CommandType::Separator)) {
            commands.push_back(Command{});
        } else if (!command.path.empty()) {
            commands.push_back(Command{1, 0, command.path, command.command});
        }
    }
    return commands;
}

void compareWithTheLibrary(const std::string& block) {
    const LibraryReading library = readWithTheLibrary(block);
    EXPECT_EQ(library.announced, previewAnnouncements(block));
    const preview::MenuPreview preview = preview::previewUserCommands(block);
    EXPECT_EQ(keptInMenu(library.kept, preview::kHubMenu), inPieceOrder(preview.hubMenu));
    EXPECT_EQ(keptInMenu(library.kept, preview::kUserListMenu), inPieceOrder(preview.userListMenu));
}

TEST(ReferenceParser, ReadsTheFullMenuAsThePreview) {
    constexpr std::uintmax_t kLimit = 1024 * 1024;
    const FileRead full = readRegularFile(TAVU_SOURCE_DIR "/tests/golden/owner-every-option.txt", kLimit);
    ASSERT_EQ(full.status, ReadStatus::Read) << full.reason;
    compareWithTheLibrary(full.bytes);
}

struct HostileBlock {
    const char* what;
    std::string block;
};

void PrintTo(const HostileBlock& value, std::ostream* out) {
    *out << value.what;
}

class HostileBlocks : public testing::TestWithParam<HostileBlock> {};

TEST_P(HostileBlocks, ReadAsThePreview) {
    compareWithTheLibrary(GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, HostileBlocks,
    testing::Values(
        HostileBlock{"Titles",
                     "$UserCommand 1 1 A\\$a|$UserCommand 1 1 A\\\\B$b|$UserCommand 1 1 \\A$c|"
                     "$UserCommand 1 1 $d|$UserCommand 1 1 A\\\\\\B$e|$UserCommand 1 1 A\\/B$f|"
                     "$UserCommand 1 1 A/\\B$g|$UserCommand 1 1 \\\\A$h|$UserCommand 1 1 \\$i|"
                     "$UserCommand 1 1 A\\ \\B$j|$UserCommand 1 1 a\tb\\c$k|$UserCommand 1 1 a//b$l|"
                     "$UserCommand 1 3 x\\y\\$m|"},
        HostileBlock{
            "RepeatsCaseAndSeparators",
            "$UserCommand 0 3|$UserCommand 1 1 Dup$one|$UserCommand 1 3 Dup$two|$UserCommand 1 3 Dup$three|"
            "$UserCommand 0 1|"
            "$UserCommand 0 1|$UserCommand 1 3 Sub\\x$a|$UserCommand 1 3 SUB\\y$b|$UserCommand 1 2 "
            "Sub\\x$c|$UserCommand 0 2|"},
        HostileBlock{"Escapes", "$UserCommand 1 1 Pay &#36;5 &amp;#124;$say &#124;&#36;&amp; &#38; &amp;amp;|"
                                "$UserCommand 1 1 R&&D &x&$amp|$UserCommand 2 2 T$a$b %% %d %[nick] 50% x|"},
        HostileBlock{"Clears", "$UserCommand 1 3 Both$b|$UserCommand 1 1 Hub$h|$UserCommand 1 2 List$l|"
                               "$UserCommand 255 2|$UserCommand 1 2 After$a|$UserCommand 1 4 Search$s|"
                               "$UserCommand 255 1|$UserCommand 1 1 Again$g|"},
        HostileBlock{"TypesAndNumbers",
                     "$UserCommand 3 1 Remove$x|$UserCommand 4 1 Chat$x|$UserCommand 5 1 ChatOnce$x|"
                     "$UserCommand 254 1|$UserCommand 01 3 Zero$x|$UserCommand 1 03 Ctx$x|"
                     "$UserCommand 1 2147483647 Big$x|$UserCommand 2147483647 3|"},
        HostileBlock{"PiecesNoClientReads",
                     "$UserCommand 1 3 NoDollar|$UserCommand 2 3|$UserCommand 1|$UserCommand|"
                     "\n$UserCommand 1 3 AfterBreak$x|  $UserCommand 1 3 AfterSpace$x|$Hello x|"
                     "$UserCommandX 1 3 Other$x|chat text|$UserCommand 1 3 Last$x|"}),
    [](const auto& info) { return std::string(info.param.what); });

struct PercentCase {
    std::string command; // after "<%[mynick]> "
    std::string sent;    // as the hub gets it from the library
    bool replaced;       // whether the finding says the client sends something else
};

// The finding on a "%" says what the library sends when the item is clicked.
TEST(PercentSigns, FindingSaysWhatTheLibrarySends) {
    const std::vector<PercentCase> cases{{"100%% off", "100% off", true},
                                         {"%[nick] %-d.%Y", "Alice ", true},
                                         {"%Ey", "", true},
                                         {"%P", "", true},
                                         {"50% off", "50% off", false},
                                         {"50%!", "50%!", false},
                                         {"%Q", "%Q", false},
                                         {"100%", "100%", false}};
    std::string block;
    for (const PercentCase& item : cases) {
        block += "$UserCommand 1 1 " + item.command + "$<%[mynick]> " + item.command + "&#124;|";
    }
    const LibraryReading library = readWithTheLibrary(block, Clicks::EveryItem);
    ASSERT_EQ(library.sent.size(), cases.size());
    const preview::MenuPreview preview = preview::previewUserCommands(block);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].command);
        // A date code is checked by its start: the date is the day's.
        EXPECT_TRUE(library.sent[i].starts_with("<tester> " + cases[i].sent)) << library.sent[i];
        EXPECT_EQ(library.sent[i] != "<tester> " + cases[i].command, cases[i].replaced) << library.sent[i];
        const auto finding = std::find_if(preview.findings.begin(), preview.findings.end(),
                                          [&](const preview::Finding& f) { return f.piece == i + 1; });
        ASSERT_NE(finding, preview.findings.end());
        EXPECT_EQ(finding->detail.find("sends as written") == std::string::npos, cases[i].replaced)
            << finding->detail;
    }
}

} // namespace
} // namespace tavu::test

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new tavu::test::ReferenceLibrary); // owned by GoogleTest
    return RUN_ALL_TESTS();
}
