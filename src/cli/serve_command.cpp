#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "hub/hub_host.h"
#include "printing_thread.h"
#include "serve_output.h"

#include <functional>

namespace tavu::cli {

namespace {

// How long the lines that wait may take to be printed once the hub stopped.
constexpr std::chrono::milliseconds kLastLinesTime{500};

struct ServeOptions {
    std::optional<std::string> blockFile;
    std::optional<CodePage> encoding;
    std::optional<std::uint16_t> port;
    std::optional<std::string> address;
    bool reload = false;
    GenerationRequest request; // of a profile's menu
};

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

hub::ServedMenu readServedMenu(std::span<const std::string_view> arguments, ServeOptions& options) {
    if (!servesBlockFile(arguments)) {
        options.request =
            readProfileRequest("serve", arguments, [&](std::string_view flag, OptionValue& value) {
                return takeServeOption(options, flag, value);
            });
        requireOneChoice("serve", options.request, "--block");
        return hub::profileMenu(options.request);
    }
    const auto operands = readArguments("serve", arguments, [&](std::string_view flag, OptionValue& value) {
        if (flag == "--block") {
            setOnce(options.blockFile, flag, std::string(value.take()));
        } else if (flag == "--encoding") {
            setOnce(options.encoding, flag, parseEncoding(value.take()));
        } else {
            return takeServeOption(options, flag, value);
        }
        return true;
    });
    if (!operands.empty()) {
        throw UsageError("serve --block FILE takes no profiles file");
    }
    return hub::blockFileMenu(*options.blockFile, options.encoding.value_or(CodePage::Utf8));
}

int serve(const hub::ServedMenu& served, const ServeOptions& options, std::ostream& out, std::ostream& err) {
    const UntiedStream untied(err);
    auto first = served.make();
    if (!first) {
        return reportMenuFailure(first.failure(), options.request, err);
    }
    warnOfLeftOut(first->leftOut, err);
    const std::string description = first->menu.description;
    const std::string address = options.address.value_or(std::string(hub::kLoopbackAddress));
    if (hub::isLoopbackAddress(address) == false) {
        err << "tavu-cli: warning: listening on " << escapedMessage(address)
            << ": clients on other machines can connect" << std::endl;
    }
    std::function<void()> stop;
    // The hub's thread hands each line over and never waits for the terminal.
    PrintingThread printer(out, [&] { stop(); });
    hub::HubHost host(
        served, std::move(first->menu), [&printer](const std::string& line) { printer.print(line); },
        [&](const Result<hub::MadeMenu, hub::MenuFailure>& made) {
            reportReload(made, options.request, printer, err);
        });
    // Set before the printer is handed a line: only a line it fails to write calls it.
    stop = [&host] {
        host.stop();
    };
    const std::uint16_t port = options.port.value_or(hub::kDefaultPort);
    if (const auto listening = host.listen(address, port); !listening) {
        printError(err, "cannot listen on " + hub::hostAndPort(address, port) + ": " +
                            listening.failure().message());
        return ExitCannotListen;
    }
    if (const auto stoppable = host.stopOnEndingSignals(); !stoppable) {
        err << "tavu-cli: warning: Ctrl+C ends the hub at once: " << stoppable.failure().message()
            << std::endl;
    }
    printer.print("dchub://" + escapedLine(hub::hostAndPort(address, host.port())));
    printer.print(escapedLine(description));
    printer.print("Connect an NMDC client to the address above; Ctrl+C stops the hub.");
    const std::size_t clients = host.run(options.reload);
    printer.print("stopped; the hub served " + std::to_string(clients) +
                  (clients == 1 ? " client" : " clients"));
    return finishPrinting(printer, kLastLinesTime, err);
}

int runServe(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    ServeOptions options;
    const hub::ServedMenu served = readServedMenu(arguments, options);
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
