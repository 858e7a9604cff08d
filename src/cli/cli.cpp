#include "cli.h"

#include "arguments.h"
#include "command.h"
#include "help.h"
#include "platform/console_text.h"
#include "version.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace tavu {

namespace {

using cli::kCommands;

const cli::Command* commandNamed(std::string_view name) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const cli::Command* command) { return command->name == name; });
    return found == std::end(kCommands) ? nullptr : *found;
}

int runCommand(const cli::Command& command, std::span<const std::string_view> arguments, std::ostream& out,
               std::ostream& err) {
    try {
        return command.run(arguments, out, err);
    } catch (const cli::HelpRequested&) {
        out << cli::commandHelp(command);
        return ExitDone;
    }
}

int runFirstArgument(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        throw cli::UsageError("no command given");
    }
    const std::string_view first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        out << cli::fullHelp(kCommands);
        return ExitDone;
    }
    if (first == "--version") {
        out << "tavu-cli " << kVersion << '\n';
        return ExitDone;
    }
    if (const cli::Command* command = commandNamed(first)) {
        return runCommand(*command, arguments.subspan(1), out, err);
    }
    if (first.size() > 1 && first.starts_with('-')) {
        throw cli::UsageError("unknown option " + std::string(first));
    }
    throw cli::UsageError("unknown command \"" + std::string(first) + "\"");
}

int runReportingErrors(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    try {
        return runFirstArgument(arguments, out, err);
    } catch (const cli::Failure& failure) {
        cli::printError(err, failure.message());
        return failure.status();
    } catch (const cli::UsageError& error) {
        return cli::printUsageError(err, error.message());
    }
}

// Puts a stream's text through the console's own interface while the run
// lasts, where the stream is a console that needs it (see consoleTextBuffer).
class ConsoleText {
public:
    ConsoleText(std::ostream& stream, StandardStream which)
        : stream_(stream), buffer_(consoleTextBuffer(which)) {
        if (buffer_) {
            previous_ = stream_.rdbuf(buffer_.get());
        }
    }
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;
    ~ConsoleText() {
        if (buffer_) {
            stream_.flush();
            stream_.rdbuf(previous_);
        }
    }

private:
    std::ostream& stream_;
    std::unique_ptr<std::streambuf> buffer_;
    std::streambuf* previous_ = nullptr;
};

} // namespace

int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const int status = runReportingErrors(arguments, out, err);
    // Output that never arrived must not pass for done.
    errno = 0;
    if (!out.flush()) {
        err << "tavu-cli: cannot write standard output"
            << (errno != 0 ? ": " + std::string(std::strerror(errno)) : "") << '\n';
        return ExitOutputUnwritable;
    }
    return status;
}

int cliMain(int argc, char** argv) {
    // A reader that goes away (tavu-cli list big.xml | head -1) ends the
    // program quietly, as it ends cat: SIGPIPE keeps its default action even
    // when the parent left it ignored, which would turn it into exit 6 with a
    // message. Windows has no SIGPIPE: a write to a closed pipe fails there.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_DFL);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ConsoleText output(std::cout, StandardStream::Output);
    const ConsoleText errors(std::cerr, StandardStream::Error);
    return runCli(arguments, std::cout, std::cerr);
}

} // namespace tavu
