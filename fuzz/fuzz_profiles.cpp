// Any bytes as a profiles file: load it, list the names, and create the commands
// of every profile with every option on.

#include "generator/generator.h"
#include "profiles/profiles_document.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto loaded = tavu::ProfilesDocument::parse({reinterpret_cast<const char*>(data), size}, "fuzz");
    if (!loaded) {
        return 0;
    }
    tavu::GenerationOptions options;
    options.offsets = true;
    const tavu::Vocabulary vocabulary;
    const auto& names = loaded->names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto generation =
            tavu::CreateUserCommands(loaded->profile(static_cast<int>(i)), options, vocabulary, "1/2/3");
        if (generation.stop) {
            (void)generation.stop->description();
        }
    }
    return 0;
}
