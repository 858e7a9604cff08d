#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "hub/hub_server.h"
#include "platform/date_text.h"
#include "platform/file.h"
#include "platform/path_text.h"
#include "preview/lint.h"
#include "preview/user_command_text.h"
#include "printing_thread.h"
#include "settings/settings_file.h"
#include "vocabulary/language_files.h"

#include <asio/io_context.hpp>
#include <asio/post.hpp>
#include <asio/signal_set.hpp>
#include <asio/steady_timer.hpp>

#include <charconv>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <variant>

namespace tavu::cli {

namespace {

// How often --reload looks at the files the menu is made from.
constexpr std::chrono::seconds kReloadInterval{1};
// How long the lines that wait may take to be printed once the hub stopped.
constexpr std::chrono::milliseconds kLastLinesTime{500};
// The pieces left out of a block that are each warned of; the rest are counted.
constexpr std::size_t kLeftOutWarnings = 10;

struct ServeOptions {
    std::optional<std::string> blockFile;
    std::optional<std::uint16_t> port;
    std::optional<std::string> address;
    bool reload = false;
};

// A file the menu is made from, read no further than its limit.
struct WatchedFile {
    std::filesystem::path path;
    std::uintmax_t limit;
};

// The menu as it is served, made again when a file it comes from changes: the
// menu, or the exit status of a failure already reported.
struct ServedMenu {
    std::function<std::variant<hub::HubMenu, int>(std::ostream& err)> make;
    std::vector<WatchedFile> files;
};

std::uint16_t parsePort(std::string_view text) {
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || port > 65535) {
        throw UsageError("--port takes a whole number from 0 to 65535, not \"" + std::string(text) + "\"");
    }
    return static_cast<std::uint16_t>(port);
}

bool takeServeOption(ServeOptions& options, std::string_view flag, OptionValue& value) {
    if (flag == "--port") {
        setOnce(options.port, flag, parsePort(value.take()));
    } else if (flag == "--listen") {
        const std::string_view address = value.take();
        if (!hub::isLoopbackAddress(address)) {
            throw UsageError("--listen takes an IP address, such as 127.0.0.1 or ::1, not \"" +
                             std::string(address) + "\"");
        }
        setOnce(options.address, flag, std::string(address));
    } else if (flag == "--reload") {
        options.reload = true;
    } else {
        return false;
    }
    return true;
}

// --block chooses the form without a profiles file; options end at "--".
bool servesBlockFile(std::span<const std::string_view> arguments) {
    for (const std::string_view argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == "--block" || argument.starts_with("--block=")) {
            return true;
        }
    }
    return false;
}

// The block without its protocol commands other than user commands, which
// would make the client do more than show a menu (connect out, leave for
// another hub, answer searches); each left out is warned of.
std::string menuPiecesOnly(const std::string& block, std::ostream& err) {
    std::string kept;
    std::size_t from = 0;
    std::size_t leftOut = 0;
    for (const preview::Piece& piece : preview::cutIntoPieces(block)) {
        if (piece.kind != preview::Piece::Kind::OtherCommand) {
            continue;
        }
        const auto start = static_cast<std::size_t>(piece.text.data() - block.data());
        kept.append(block, from, start - from);
        from = start + piece.text.size() + (piece.terminated ? 1 : 0);
        if (++leftOut <= kLeftOutWarnings) {
            err << "tavu-cli: warning: "
                << escapedMessage(
                       "piece " + std::to_string(piece.number) + ", line " + std::to_string(piece.line) +
                       ": " + preview::otherCommandDetail(piece.text) + "; it is left out of the menu served")
                << '\n';
        }
    }
    if (leftOut > kLeftOutWarnings) {
        err << "tavu-cli: warning: protocol commands left out of the menu served besides these: "
            << leftOut - kLeftOutWarnings << '\n';
    }
    return kept.append(block, from);
}

ServedMenu blockFileMenu(std::span<const std::string_view> arguments, ServeOptions& options) {
    std::optional<CodePage> encoding;
    const auto operands = readArguments("serve", arguments, [&](std::string_view flag, OptionValue& value) {
        if (flag == "--block") {
            setOnce(options.blockFile, flag, std::string(value.take()));
        } else if (flag == "--encoding") {
            setOnce(encoding, flag, parseEncoding(value.take()));
        } else {
            return takeServeOption(options, flag, value);
        }
        return true;
    });
    if (!operands.empty()) {
        throw UsageError("serve --block FILE takes no profiles file");
    }
    const std::string file = *options.blockFile;
    const CodePage page = encoding.value_or(CodePage::Utf8);
    return {[file, page](std::ostream& err) -> std::variant<hub::HubMenu, int> {
                // Served as it is but for what is no menu, so that a hand-edited
                // block can be tried, faults and all.
                const FileRead read = readRegularFile(pathFromUtf8(file), kBlockFileLimit);
                if (read.status != ReadStatus::Read) {
                    printError(err, read.reason);
                    return ExitNoProfiles;
                }
                return hub::HubMenu{menuPiecesOnly(read.bytes, err),
                                    "You are looking at the block " + file + ", read as " +
                                        std::string(codePageName(page)) + ".",
                                    page};
            },
            {{pathFromUtf8(file), kBlockFileLimit}}};
}

ServedMenu profileMenu(std::span<const std::string_view> arguments, ServeOptions& options) {
    const GenerationRequest request =
        readProfileRequest("serve", arguments, [&](std::string_view flag, OptionValue& value) {
            return takeServeOption(options, flag, value);
        });
    requireOneChoice("serve", request, "--block");
    std::vector<WatchedFile> files{
        {pathFromUtf8(request.profilesFile), kProfilesFileLimit},
        {request.settingsFile ? pathFromUtf8(*request.settingsFile) : settingsFilePath(),
         kSettingsFileLimit}};
    if (request.menuChangesFile) {
        files.push_back({pathFromUtf8(*request.menuChangesFile), kSettingsFileLimit});
    }
    std::string words = "the words of the settings file";
    if (request.language) {
        if (const auto language =
                findLanguage(*request.language, findLanguages(languageFolders()).languages)) {
            files.push_back({language->path, kSettingsFileLimit});
            words = "the words of " + language->name;
        }
    }
    return {[request, words](std::ostream& err) -> std::variant<hub::HubMenu, int> {
                // The bytes generate writes, refused where generate refuses them.
                ProfileBlock block = generateChosenProfile(request, true);
                if (block.failure) {
                    return reportFailure(*block.failure, {whoOf(request, block), "<served menu>"}, err);
                }
                return hub::HubMenu{std::move(block.bytes),
                                    "You are looking at the menu of " +
                                        profileLabel(block.index, block.name) + " of " +
                                        request.profilesFile + ", with " + words + ", encoded as " +
                                        std::string(codePageName(request.codePage())) + ".",
                                    request.codePage()};
            },
            std::move(files)};
}

// What --reload compares: whether each file is there, its size, its time and
// what it holds, as an edit may keep both size and time.
struct FileStamp {
    bool present = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time;
    std::size_t contents = 0; // a hash of what it holds, read up to its limit
    bool operator==(const FileStamp&) const = default;
};

std::vector<FileStamp> stampsOf(const std::vector<WatchedFile>& files) {
    std::vector<FileStamp> stamps;
    for (const auto& file : files) {
        std::error_code sizeError;
        std::error_code timeError;
        FileStamp stamp;
        stamp.size = std::filesystem::file_size(file.path, sizeError);
        stamp.time = std::filesystem::last_write_time(file.path, timeError);
        stamp.present = !sizeError && !timeError;
        if (const FileRead read = readRegularFile(file.path, file.limit); read.status == ReadStatus::Read) {
            stamp.contents = std::hash<std::string>{}(read.bytes);
        }
        stamps.push_back(stamp);
    }
    return stamps;
}

// Looks at the menu's files every second and serves the menu anew when one
// changed; a menu that cannot be made leaves the clients with the last one.
class ReloadWatch {
public:
    ReloadWatch(asio::io_context& io, const ServedMenu& served, hub::HubServer& server, PrintingThread& out,
                std::ostream& err)
        : timer_(io), served_(served), server_(server), out_(out), err_(err),
          stamps_(stampsOf(served.files)) {}

    void start() {
        timer_.expires_after(kReloadInterval);
        timer_.async_wait([this](const std::error_code& error) {
            if (!error) {
                look();
                start();
            }
        });
    }

    void stop() { timer_.cancel(); }

private:
    void look() {
        std::vector<FileStamp> now = stampsOf(served_.files);
        if (now == stamps_) {
            return;
        }
        stamps_ = std::move(now);
        out_.print(clockTimeText(std::time(nullptr)) + " a file of the menu changed");
        try {
            auto made = served_.make(err_);
            if (auto* menu = std::get_if<hub::HubMenu>(&made)) {
                server_.setMenu(std::move(*menu));
                out_.print(clockTimeText(std::time(nullptr)) + " the new menu goes to every client");
                return;
            }
        } catch (const UsageError& error) {
            printError(err_, error.message());
        }
        out_.print(clockTimeText(std::time(nullptr)) + " the clients keep the last menu");
    }

    asio::steady_timer timer_;
    const ServedMenu& served_;
    hub::HubServer& server_;
    PrintingThread& out_;
    std::ostream& err_;
    std::vector<FileStamp> stamps_;
};

// "127.0.0.1:4111", "[::1]:4111".
std::string hostAndPort(const std::string& address, std::uint16_t port) {
    const bool ipv6 = address.find(':') != std::string::npos;
    return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

// Standard error is tied to standard output, which a write to it would flush
// first: from the hub's thread, into a terminal that may not be read.
class UntiedStream {
public:
    explicit UntiedStream(std::ostream& stream) : stream_(stream), tie_(stream.tie(nullptr)) {}
    ~UntiedStream() { stream_.tie(tie_); }
    UntiedStream(const UntiedStream&) = delete;
    UntiedStream& operator=(const UntiedStream&) = delete;

private:
    std::ostream& stream_;
    std::ostream* tie_;
};

// The status once the hub stopped and the lines that wait were printed; a
// standard output nobody reads ends the program here, as the thread blocked in
// writing to it cannot be ended otherwise.
int finishPrinting(PrintingThread& printer, std::ostream& err) {
    switch (printer.finish(kLastLinesTime)) {
    case PrintingThread::Ending::Printed:
        return ExitDone;
    case PrintingThread::Ending::WriteFailed:
        return ExitOutputUnwritable;
    case PrintingThread::Ending::NotRead:
        break;
    }
    err << "tavu-cli: standard output is not read; the lines that wait are not printed" << std::endl;
    std::_Exit(ExitOutputUnwritable);
}

int serve(const ServedMenu& served, const ServeOptions& options, std::ostream& out, std::ostream& err) {
    const UntiedStream untied(err);
    auto first = served.make(err);
    if (const int* status = std::get_if<int>(&first)) {
        return *status;
    }
    auto& menu = std::get<hub::HubMenu>(first);
    const std::string description = menu.description;
    const std::string address = options.address.value_or(std::string(hub::kLoopbackAddress));
    if (hub::isLoopbackAddress(address) == false) {
        err << "tavu-cli: warning: listening on " << escapedMessage(address)
            << ": clients on other machines can connect" << std::endl;
    }
    asio::io_context io;
    std::function<void()> stopServing;
    // The hub's thread hands each line over and never waits for the terminal.
    PrintingThread printer(out, [&] { asio::post(io, [&] { stopServing(); }); });
    hub::HubServer server(io, std::move(menu), [&printer](const std::string& line) { printer.print(line); });
    const std::uint16_t port = options.port.value_or(hub::kDefaultPort);
    if (const std::error_code error = server.listen(address, port)) {
        printError(err, "cannot listen on " + hostAndPort(address, port) + ": " + error.message());
        return ExitCannotListen;
    }
    printer.print("dchub://" + escapedLine(hostAndPort(address, server.port())));
    printer.print(escapedLine(description));
    printer.print("Connect an NMDC client to the address above; Ctrl+C stops the hub.");
    ReloadWatch watch(io, served, server, printer, err);
    asio::signal_set signals(io, SIGINT, SIGTERM);
    stopServing = [&] {
        server.stop();
        watch.stop();
        signals.cancel();
    };
    signals.async_wait([&](const std::error_code& error, int) {
        if (!error) {
            stopServing();
        }
    });
    if (options.reload) {
        watch.start();
    }
    io.run();
    const std::size_t clients = server.clientsServed();
    printer.print("stopped; the hub served " + std::to_string(clients) +
                  (clients == 1 ? " client" : " clients"));
    return finishPrinting(printer, err);
}

int runServe(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    ServeOptions options;
    const ServedMenu served =
        servesBlockFile(arguments) ? blockFileMenu(arguments, options) : profileMenu(arguments, options);
    return serve(served, options, out, err);
}

const OptionHelp kBlockOption{
    "--block FILE", "serves the block in FILE as it is (a generated, hand-edited or saved block), "
                    "instead of a profile's, but for its protocol commands other than $UserCommand, "
                    "which are left out with a warning saying what each would make the client do; it "
                    "takes no profiles file and no SETTINGS"};
const OptionHelp kPortOption{"--port N", "the port to listen on, 4111 by default (0: any free port)"};
const OptionHelp kListenOption{"--listen ADDRESS", "the IP address to listen on, 127.0.0.1 by default (::1 "
                                                   "for IPv6); any other than a loopback address lets "
                                                   "clients on other machines connect, and is warned of"};
const OptionHelp kReloadOption{
    "--reload", "looks at the profiles file, the settings file, the language file and the own-items file (or "
                "FILE) every second; when what one holds changed, the menu is made again and sent anew to "
                "every client, after the clear command"};

const OptionHelp* const kOptions[] = {&kProfileOption,  &kIndexOption, &kBlockOption,  &kSettingsOption,
                                      &kLanguageOption, &kDateOption,  &kOptionOption, &kWordOption,
                                      &kEncodingOption, &kPortOption,  &kListenOption, &kReloadOption};

} // namespace

const Command kServeCommand{
    .name = "serve",
    .synopsis = "tavu-cli serve PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]\n"
                "         [--port N] [--listen ADDRESS] [--reload]\n"
                "tavu-cli serve --block FILE [--encoding NAME] [--port N] [--listen ADDRESS] [--reload]",
    .usageNote = kSettingsSynopsis,
    .description =
        "runs a hub on this machine that serves the menu to your own NMDC client, to try it before the real "
        "hub gets it: it prints the address to connect to (dchub://127.0.0.1:4111), logs the client in with "
        "a user list that holds it, the hub's bot TAVU and a user Alice, and sends it exactly the bytes "
        "generate writes, with a line in main chat that says what it shows. Then it prints every message "
        "the client sends, one a line with the time and the nick, as the real hub would get it: chat as "
        "<nick> text (echoed to that client alone), private messages with their target, other commands "
        "as sent; at most 1000 lines wait for a terminal that does not keep up, the rest are counted. Ctrl+C "
        "stops it and says how many clients it served. At most 64 connections, messages of "
        "64 KiB; a client that does not log in within 30 s, says nothing for 10 minutes or does not read is "
        "dropped.",
    .options = kOptions,
    .notes = {},
    .run = runServe,
};

} // namespace tavu::cli
