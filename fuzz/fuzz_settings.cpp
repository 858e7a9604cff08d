// Any bytes as a settings file: read both sections, save them, read again: the
// same options and words.

#include "formats/ini_file.h"
#include "settings/settings.h"
#include "vocabulary/vocabulary.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavu::IniFile file = tavu::IniFile::parse({reinterpret_cast<const char*>(data), size});
    const tavu::Settings settings = tavu::readSettingsSection(file);
    tavu::Vocabulary vocabulary;
    tavu::readStringsSection(vocabulary, file);

    tavu::writeSettingsSection(settings, file);
    tavu::writeStringsSection(vocabulary, file);
    const tavu::IniFile saved = tavu::IniFile::parse(file.text());
    tavu::Vocabulary reread;
    tavu::readStringsSection(reread, saved);
    if (!(tavu::readSettingsSection(saved) == settings) || !(reread == vocabulary)) {
        std::abort();
    }
    return 0;
}
