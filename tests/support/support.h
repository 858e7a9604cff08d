#pragma once

// Helpers shared by the tests: profiles built in memory, generation with chosen
// options, and the output cut into its emissions.

#include "base/result.h"
#include "generator/generator.h"
#include "platform/file.h"
#include "profiles/profiles_document.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::test {

// Builds one profile, "Section/Group/Key" at a time, and parses it as a profiles
// file would be. Each grant is written as the hub writes it: an element with an
// attribute "enable", or an element holding a text.
class ProfileBuilder {
public:
    ProfileBuilder& enable(const std::string& path, const std::string& attribute = "true");
    ProfileBuilder& value(const std::string& path, const std::string& text = "1");
    // Raw XML placed as the element's content, for elements with child elements.
    ProfileBuilder& content(const std::string& path, const std::string& xml);

    std::string xml(const std::string& name = "Test") const;
    // The element <Profile> alone, to put several into one file.
    std::string profile(const std::string& name = "Test") const;
    ProfilesDocument document(const std::string& name = "Test") const;

private:
    // path -> element written in full
    std::map<std::string, std::string> elements_;
};

// Every option on, Offsets included.
GenerationOptions allOptionsOn();
// Every menu group, Clear and Message off; item options on.
GenerationOptions onlyItemOptions();

Generation generate(const ProfilesDocument& document, const GenerationOptions& options,
                    const Vocabulary& vocabulary = Vocabulary{}, std::string_view date = "07/12/2026");

// The output cut after every "|": one string per emission, each ending in "|".
std::vector<std::string> emissions(std::string_view text);

// The hub command an emission sends: the text between "$<%[mynick]> " and
// "&#124;|".
std::string hubCommand(const std::string& emission);
std::vector<std::string> hubCommands(const std::vector<std::string>& emissions);

// The default item prefix, ".::" and a no-break space.
inline const std::string kPrefix = ".::\xC2\xA0";

// Every permission element a profile can hold, "Section/Group/Key", with its test.
struct PermissionElement {
    std::string_view path;
    bool enableTest;
};
const std::vector<PermissionElement>& allPermissionElements();
// A profile granting every permission element.
ProfileBuilder everythingGranted();

// The file:// address of a local file: file:///tmp/a on POSIX,
// file:///C:/Temp/a on Windows.
std::string fileUri(const std::filesystem::path& path);

// Empty for a write that succeeded, else "Unable to write to PATH" and the
// reason on a line of its own, as the windows tell it.
std::string writeFailureText(const Result<Done, Unwritable>& written);

} // namespace tavu::test
