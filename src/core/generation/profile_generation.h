#pragma once

// One profile's block from what makes it: the settings file with its words, a
// language read over them and single overrides, the profiles file with the
// profile chosen in it; then the generation, the check that clients read the
// block as it says, and its code page. A step that cannot be done says why as
// a typed failure, which the command line and the windows word each their way.

#include "base/result.h"
#include "formats/code_page.h"
#include "formats/xml.h"
#include "generator/generator.h"
#include "preview/menu_preview.h"
#include "profiles/profiles_document.h"
#include "vocabulary/language_files.h"
#include "vocabulary/vocabulary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tavu {

struct GenerationRequest {
    std::string profilesFile;
    std::optional<std::string> profileName; // the first profile with this name
    std::optional<int> profileIndex;        // used when no name is given
    // None for the program's own settings file, where a missing file means
    // every default; a named file must exist.
    std::optional<std::string> settingsFile;
    std::optional<std::string> language; // an installed language's code or name, or a language file
    std::optional<std::string> date;     // none for today
    std::optional<CodePage> encoding;    // none for UTF-8
    // Single overrides by key, applied last; views of the caller's text.
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<std::pair<std::string_view, std::string_view>> words;
    // The menu changes of the settings file, or for this run those of a file
    // of their own; an own-items file that cannot be read is reported and the
    // plain menu made.
    std::optional<std::string> menuChangesFile;
    std::vector<std::string> itemsOff; // switched off for every profile, for this run
    bool withoutOwnItems = false;      // no own item
    bool everyItem = false;            // nothing switched off

    CodePage codePage() const { return encoding.value_or(CodePage::Utf8); }
};

// What the input holds that is not taken as it stands, for the caller to tell.
struct InputWarning {
    std::string text;
    // An identity switched off that covers no item: the caller may say where
    // the items are listed.
    bool namesNoItem = false;
};

// Everything a generation reads besides the profile.
struct GenerationInput {
    GenerationOptions options;
    Vocabulary vocabulary;
    std::string date;
    std::optional<LanguageFile> language; // the one read over the settings file's words
    MenuChanges changes;
    // What the caller tells as warnings: own items refused, identities that
    // name no item, an own-items file that could not be read, profiles named
    // that the profiles file does not hold.
    std::vector<InputWarning> warnings;
    std::string changesFile = {}; // the file the changes come from, which the warnings name
};

// Why a block could not be made.
namespace generation_failure {

struct UnknownOptionKey {
    std::string key;
};
struct OptionNotWholeNumber {
    std::string key;
    std::string text;
};
struct UnknownWordKey {
    std::string key;
};
// The block is UTF-8 until it is encoded, so text that is not would reach the
// hub as bytes no code page names.
struct NotUtf8 {
    std::optional<std::string> wordKey; // none for the date text
    ConversionFailure failure;
};
struct NoSuchLanguage {
    std::string name;
};
// The settings file, the language file or the profiles file, with the reason.
struct UnreadableFile {
    std::string reason;
};
struct NoSuchProfile {
    std::string profilesFile;
    std::optional<std::string> name; // none when an index was asked for
    int index = -1;
    std::size_t profileCount = 0;
    std::optional<std::string> nameDifferingInCase; // a suggestion for the name
};
// A permission whose text cannot be read; the generation is kept up to it.
struct Stopped {
    GenerationStop stop;
};
// A block that clients would misread: every finding of the menu preview.
struct MenuMisread {
    std::vector<preview::Finding> findings;
};
struct Unencodable {
    CodePage codePage;
    std::string character; // the character and the text that brought it into the block
};

} // namespace generation_failure

using GenerationFailure =
    std::variant<generation_failure::UnknownOptionKey, generation_failure::OptionNotWholeNumber,
                 generation_failure::UnknownWordKey, generation_failure::NotUtf8,
                 generation_failure::NoSuchLanguage, generation_failure::UnreadableFile,
                 generation_failure::NoSuchProfile, generation_failure::Stopped,
                 generation_failure::MenuMisread, generation_failure::Unencodable>;

// What is done with a generation that ran to its end.
struct BlockChecks {
    bool refuseMenuErrors = true;
    std::optional<CodePage> encoding; // none: the block stays as generated
};

struct [[nodiscard]] ProfileBlock {
    std::size_t index = 0; // of the profile in the profiles file
    std::string name;      // of the profile
    Generation generation; // up to the stop when it stopped; empty when the profile was never reached
    std::string bytes;     // the block in its code page, when it was encoded
    std::optional<GenerationFailure> failure;
};

// The settings file, then the language over its words, then the overrides.
Result<GenerationInput, GenerationFailure> readGenerationInput(const GenerationRequest& request);

Result<ProfilesDocument, GenerationFailure> loadProfiles(const std::string& profilesFile);

// Generates the profile named `name`; a stop is a failure, then the checks run in order.
ProfileBlock generateProfile(XmlElement profile, std::string_view name, const GenerationInput& input,
                             const BlockChecks& checks);
ProfileBlock generateProfile(const ProfilesDocument& document, std::size_t index,
                             const GenerationInput& input, const BlockChecks& checks);

// What the request chooses: its input, and the profile in the profiles file.
struct ChosenProfile {
    GenerationInput input;
    ProfilesDocument document;
    std::size_t index = 0;
};

// Warns of each profile that the changes name and the document does not hold:
// a change that never applies, a name mistyped most often.
void warnOfUnknownProfiles(GenerationInput& input, const ProfilesDocument& document,
                           const std::string& profilesFile);

// Reads the input, loads the profiles and chooses the profile; warns as above.
Result<ChosenProfile, GenerationFailure> readChosenProfile(const GenerationRequest& request);

// Reads the input, loads the profiles, chooses the profile and generates it,
// encoded as the request says.
ProfileBlock generateChosenProfile(const GenerationRequest& request, bool refuseMenuErrors);

} // namespace tavu
