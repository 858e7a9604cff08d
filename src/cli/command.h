#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tavu::cli {

// One option in the help: its flag with its value's name, and what it does as
// one paragraph that the help wraps.
struct OptionHelp {
    std::string_view flag;
    std::string_view meaning;
};

using RunCommand = int (*)(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

// A command of tavu-cli with its help. Options shared by several commands are
// one OptionHelp, so that the full help lists each once.
struct Command {
    std::string_view name;
    std::string_view synopsis;  // one line a form, without indentation
    std::string_view usageNote; // what a word of the synopsis stands for; may be empty
    std::string_view description;
    std::span<const OptionHelp* const> options;
    std::string_view notes; // a further section of the help; may be empty
    RunCommand run;         // takes the arguments after the command's name
};

extern const Command kListCommand;
extern const Command kGenerateCommand;
extern const Command kTreeCommand;
extern const Command kCheckCommand;
extern const Command kKeysCommand;
extern const Command kLanguagesCommand;
extern const Command kExportWordsCommand;
extern const Command kItemsCommand;
extern const Command kMatrixCommand;
extern const Command kDiffCommand;
extern const Command kExportItemsCommand;
extern const Command kServeCommand;

// Every command, in the order the help lists them. The bash completion and
// the manual page list them too; a test holds both to this table.
inline constexpr const Command* kCommands[] = {&kListCommand,        &kGenerateCommand,    &kTreeCommand,
                                               &kItemsCommand,       &kMatrixCommand,      &kDiffCommand,
                                               &kCheckCommand,       &kKeysCommand,        &kLanguagesCommand,
                                               &kExportWordsCommand, &kExportItemsCommand, &kServeCommand};

} // namespace tavu::cli
