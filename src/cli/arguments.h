#pragma once

#include "command.h"
#include "formats/code_page.h"
#include "platform/file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavu::cli {

// A command line that cannot be run as written.
class UsageError {
public:
    explicit UsageError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// A command that cannot go on: its message and exit status.
class Failure {
public:
    Failure(int status, std::string message) : status_(status), message_(std::move(message)) {}
    int status() const { return status_; }
    const std::string& message() const { return message_; }

private:
    int status_;
    std::string message_;
};

// "--help" or "-h" among a command's options: the command's help is wanted.
struct HelpRequested {};

// The value of the option being read: the text after "=" in it, else the next
// argument.
class OptionValue {
public:
    OptionValue(std::span<const std::string_view> arguments, std::size_t& position, std::string_view flag,
                std::optional<std::string_view> attached)
        : arguments_(arguments), position_(position), flag_(flag), attached_(attached) {}

    std::string_view take();
    bool taken() const { return taken_; }

private:
    std::span<const std::string_view> arguments_;
    std::size_t& position_;
    std::string_view flag_;
    std::optional<std::string_view> attached_;
    bool taken_ = false;
};

// Takes one option of a command, with its value when it has one; false when
// the command has no such option.
using TakeOption = std::function<bool(std::string_view flag, OptionValue& value)>;

// Reads a command's arguments: hands each option to `takeOption` and returns
// the others, the operands, in order. "--name=value" is "--name value", "--"
// ends the options, and "-" alone is an operand.
std::vector<std::string_view> readArguments(std::string_view command,
                                            std::span<const std::string_view> arguments,
                                            const TakeOption& takeOption);

// The command's one operand; `what` names it when it is missing.
std::string_view oneOperand(std::string_view command, const std::vector<std::string_view>& operands,
                            std::string_view what);

// A second value would silently win over the first; a script that repeats an
// option has a mistake in it.
template <typename Value>
void setOnce(std::optional<Value>& option, std::string_view flag, Value value) {
    if (option) {
        throw UsageError(std::string(flag) + " is given twice");
    }
    option = std::move(value);
}

std::pair<std::string_view, std::string_view> splitAssignment(std::string_view flag, std::string_view text);
int parseIndex(std::string_view text);
std::uint16_t parsePort(std::string_view text);
CodePage parseEncoding(std::string_view name);

// A name as one line of output: a backslash, the control characters (a line
// break above all), the line and paragraph separators, the bidirectional
// controls and bytes that are not UTF-8 are written as escapes
// (escapedControls), so that one line is one name.
std::string escapedLine(std::string_view name);
// A message for standard error with every name in it made harmless to the
// terminal: escaped as escapedLine does, but for the message's own line breaks
// and backslashes (those of Windows paths), which are kept.
std::string escapedMessage(std::string_view message);
// "Unable to write to PATH: REASON".
std::string unwritableMessage(const Unwritable& failure);
// Writes "tavu-cli: MESSAGE" and a line break to standard error, the message
// escaped as escapedMessage does.
void printError(std::ostream& err, std::string_view message);
// Prints a usage error as printError does, with the way to the help after
// it, and returns ExitUsage.
int printUsageError(std::ostream& err, std::string_view message);

extern const OptionHelp kEncodingOption;

} // namespace tavu::cli
