#include "arguments.h"

#include "base/escaping.h"
#include "exit_statuses.h"
#include "platform/path_text.h"

#include <charconv>

namespace tavu::cli {

namespace {

// "-" alone names standard input, so it is an operand.
bool isOption(std::string_view argument) {
    return argument.size() > 1 && argument.starts_with('-');
}

void readOption(std::string_view command, std::span<const std::string_view> arguments, std::size_t& position,
                const TakeOption& takeOption) {
    const std::string_view argument = arguments[position];
    const auto equals = argument.starts_with("--") ? argument.find('=') : std::string_view::npos;
    const std::string_view flag = argument.substr(0, equals);
    std::optional<std::string_view> attached;
    if (equals != std::string_view::npos) {
        attached = argument.substr(equals + 1);
    }
    OptionValue value(arguments, position, flag, attached);
    if (!takeOption(flag, value)) {
        throw UsageError("unknown option " + std::string(flag) + " for " + std::string(command));
    }
    if (attached && !value.taken()) {
        throw UsageError(std::string(flag) + " takes no value");
    }
}

} // namespace

std::string_view OptionValue::take() {
    taken_ = true;
    if (attached_) {
        return *attached_;
    }
    if (position_ + 1 >= arguments_.size()) {
        throw UsageError(std::string(flag_) + " needs a value");
    }
    return arguments_[++position_];
}

std::vector<std::string_view> readArguments(std::string_view command,
                                            std::span<const std::string_view> arguments,
                                            const TakeOption& takeOption) {
    std::vector<std::string_view> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            throw HelpRequested{};
        } else {
            readOption(command, arguments, i, takeOption);
        }
    }
    return operands;
}

std::string_view oneOperand(std::string_view command, const std::vector<std::string_view>& operands,
                            std::string_view what) {
    if (operands.empty()) {
        throw UsageError(std::string(command) + " needs " + std::string(what));
    }
    if (operands.size() > 1) {
        throw UsageError("unexpected argument \"" + std::string(operands[1]) + "\" for " +
                         std::string(command));
    }
    return operands[0];
}

std::pair<std::string_view, std::string_view> splitAssignment(std::string_view flag, std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        throw UsageError(std::string(flag) + " takes KEY=VALUE, not \"" + std::string(text) + "\"");
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

int parseIndex(std::string_view text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || index < 0) {
        throw UsageError("--index takes a whole number from 0, not \"" + std::string(text) + "\"");
    }
    return index;
}

std::uint16_t parsePort(std::string_view text) {
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || port > 65535) {
        throw UsageError("--port takes a whole number from 0 to 65535, not \"" + std::string(text) + "\"");
    }
    return static_cast<std::uint16_t>(port);
}

CodePage parseEncoding(std::string_view name) {
    if (const auto page = codePageByName(name)) {
        return *page;
    }
    std::string known;
    for (CodePage page : allCodePages()) {
        known += (known.empty() ? "" : ", ") + std::string(codePageName(page));
    }
    throw UsageError("--encoding: \"" + std::string(name) + "\" is not one of " + known);
}

std::string escapedLine(std::string_view name) {
    return escapedControls(name, "\\");
}

std::string unwritableMessage(const Unwritable& failure) {
    return "Unable to write to " + utf8FromPath(failure.path) + ": " + failure.reason;
}

std::string escapedMessage(std::string_view message) {
    return escapedControls(message, {}, "\n");
}

void printError(std::ostream& err, std::string_view message) {
    err << "tavu-cli: " << escapedMessage(message) << '\n';
}

int printUsageError(std::ostream& err, std::string_view message) {
    err << "tavu-cli: " << escapedMessage(message) << "\nTry 'tavu-cli --help'.\n";
    return ExitUsage;
}

const OptionHelp kEncodingOption{
    "--encoding NAME",
    "the code page of the block: utf-8 (the default), windows-1250, windows-1251, windows-1252, iso-8859-1 "
    "or iso-8859-2, for hubs that read their files in a single-byte code page. A character that the code "
    "page cannot hold is an error "
    "naming the word and the character; nothing is replaced. For check, the code page FILE is written in."};

} // namespace tavu::cli
