#include "generation/profile_generation.h"

#include "base/escaping.h"
#include "formats/case_folding.h"
#include "generator/options.h"
#include "platform/date_text.h"
#include "platform/path_text.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <algorithm>
#include <unordered_set>

namespace tavu {

namespace {

namespace failure = generation_failure;

std::optional<ConversionFailure> notUtf8(std::string_view text) {
    return decodeToUtf8(text, CodePage::Utf8).failure;
}

Result<Done, GenerationFailure> applyOptions(const GenerationRequest& request, GenerationOptions& options) {
    for (const auto& [key, text] : request.options) {
        const OptionEntry* entry = optionByKey(key);
        if (entry == nullptr) {
            return failure::UnknownOptionKey{std::string(key)};
        }
        const auto value = readIniBoolean(text);
        if (!value) {
            return failure::OptionNotWholeNumber{std::string(key), std::string(text)};
        }
        options.*entry->option = *value;
    }
    return Done{};
}

Result<Done, GenerationFailure> applyWords(const GenerationRequest& request, Vocabulary& vocabulary) {
    for (const auto& [key, text] : request.words) {
        const auto word = wordByKey(key);
        if (!word) {
            return failure::UnknownWordKey{std::string(key)};
        }
        if (const auto bad = notUtf8(text)) {
            return failure::NotUtf8{std::string(key), *bad};
        }
        vocabulary.setText(*word, std::string(text));
    }
    return Done{};
}

// The installed language or the language file the request names, read over
// the words of the settings file.
Result<Done, GenerationFailure> readChosenLanguage(const std::string& nameOrFile, GenerationInput& input) {
    const auto language = findLanguage(nameOrFile, findLanguages(languageFolders()).languages);
    if (!language) {
        return failure::NoSuchLanguage{nameOrFile};
    }
    auto read = readLanguageFile(language->path, input.vocabulary);
    if (!read) {
        return failure::UnreadableFile{std::move(read).failure().reason};
    }
    input.vocabulary = std::move(read).value();
    input.language = *language;
    return Done{};
}

// Names the text that brought the character into the block: the first word
// used in the block that holds it, else the date text, else its place.
std::string sourceOfCharacter(const ConversionFailure& failure, const GenerationInput& input,
                              std::string_view block) {
    if (failure.malformed) {
        return "byte " + byteText(failure.character) + " at byte " + std::to_string(failure.offset) +
               " of the block is not UTF-8";
    }
    const std::string character = utf8OfCodePoints(std::u32string(1, failure.character));
    std::optional<Word> holder;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        const std::string& text = input.vocabulary.text(word);
        if (text.find(character) == std::string::npos) {
            continue;
        }
        if (block.find(text) != std::string_view::npos) {
            holder = word;
            break;
        }
        holder = holder.value_or(word);
    }
    const std::string description = describeCharacter(failure.character);
    if (holder) {
        return description + " in the word " + std::string(wordKey(*holder)) + " (\"" +
               input.vocabulary.text(*holder) + "\")";
    }
    if (input.date.find(character) != std::string::npos) {
        return description + " in the date text \"" + input.date + "\"";
    }
    return description + " at byte " + std::to_string(failure.offset) + " of the block";
}

// A profile named as `wanted` is without regard to letter case, for a
// suggestion; none when there is no such profile.
std::optional<std::string> nameDifferingInCase(const std::vector<std::string>& names,
                                               const std::string& wanted) {
    const std::string folded = foldedFileName(wanted);
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const std::string& name) { return foldedFileName(name) == folded; });
    return found == names.end() ? std::nullopt : std::optional(*found);
}

// The index of the requested profile in the document.
Result<std::size_t, GenerationFailure> chosenIndex(const ProfilesDocument& document,
                                                   const GenerationRequest& request) {
    const std::vector<std::string>& names = document.names();
    int index = request.profileIndex.value_or(-1);
    if (request.profileName) {
        const auto found = std::find(names.begin(), names.end(), *request.profileName);
        index = found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    if (document.profile(index)) {
        return static_cast<std::size_t>(index);
    }
    failure::NoSuchProfile missing{request.profilesFile, request.profileName, index, names.size(), {}};
    if (request.profileName) {
        missing.nameDifferingInCase = nameDifferingInCase(names, *request.profileName);
    }
    return missing;
}

// A warning, starting with `start`, for each identity switched off that
// covers no item of the catalogue.
void warnOfUnknownIdentities(const MenuChanges& changes, const std::string& start,
                             std::vector<InputWarning>& warnings) {
    for (const std::string& identity : unknownIdentities(changes)) {
        warnings.push_back({start + quotedText(identity) + " switched off is in no menu", true});
    }
}

// The settings file's changes, or a file's own for this run, then the
// switches of the run; what was not taken as it stands becomes a warning.
void chooseMenuChanges(const GenerationRequest& request, MenuChangesRead stored, GenerationInput& input) {
    std::string source = request.settingsFile ? *request.settingsFile : utf8FromPath(settingsFilePath());
    if (request.menuChangesFile) {
        auto read = readMenuChangesFile(pathFromUtf8(*request.menuChangesFile));
        if (!read) {
            std::string reason = std::move(read).failure().reason;
            // The reason is a sentence of its own.
            if (reason.ends_with('.')) {
                reason.pop_back();
            }
            input.warnings.push_back(
                {reason + "; the menu is made without own items and items switched off"});
            stored = {};
        } else {
            stored = std::move(read).value();
        }
        source = *request.menuChangesFile;
    }
    input.changes = std::move(stored.changes);
    input.changesFile = source;
    // Every problem of a read is an own item's, which no own item makes moot.
    if (request.withoutOwnItems) {
        input.changes.ownItems.clear();
    } else {
        for (const std::string& problem : stored.problems) {
            InputWarning warning{source};
            warning.text.append(": ").append(problem);
            input.warnings.push_back(std::move(warning));
        }
    }
    if (request.everyItem) {
        input.changes.itemsOff.clear();
    }
    warnOfUnknownIdentities(input.changes, source + ": the item ", input.warnings);
    // Those of the run are told apart: the file is not to blame for them.
    MenuChanges ofTheRun;
    for (const std::string& identity : request.itemsOff) {
        ofTheRun.itemsOff.push_back(ItemOff{identity, {}});
    }
    warnOfUnknownIdentities(ofTheRun, "the item ", input.warnings);
    input.changes.itemsOff.insert(input.changes.itemsOff.end(), ofTheRun.itemsOff.begin(),
                                  ofTheRun.itemsOff.end());
}

ProfileBlock failed(GenerationFailure failure) {
    ProfileBlock block;
    block.failure = std::move(failure);
    return block;
}

} // namespace

Result<GenerationInput, GenerationFailure> readGenerationInput(const GenerationRequest& request) {
    // Defaults in place of the operator's settings would make a different menu.
    auto loaded = request.settingsFile
                      ? loadSettings(pathFromUtf8(*request.settingsFile), MissingSettingsFile::IsError)
                      : loadSettings(settingsFilePath(), MissingSettingsFile::MeansDefaults);
    if (!loaded) {
        return failure::UnreadableFile{std::move(loaded).failure().reason};
    }
    StoredSettings& stored = loaded.value();
    GenerationInput input{stored.settings.options, std::move(stored.vocabulary), {}, {}, {}, {}};
    chooseMenuChanges(request, std::move(stored.menuChanges), input);
    if (request.language) {
        if (auto read = readChosenLanguage(*request.language, input); !read) {
            return std::move(read).failure();
        }
    }
    if (auto applied = applyOptions(request, input.options); !applied) {
        return std::move(applied).failure();
    }
    if (auto applied = applyWords(request, input.vocabulary); !applied) {
        return std::move(applied).failure();
    }
    if (request.date) {
        if (const auto bad = notUtf8(*request.date)) {
            return failure::NotUtf8{std::nullopt, *bad};
        }
    }
    input.date = request.date ? *request.date : todayText();
    return input;
}

Result<ProfilesDocument, GenerationFailure> loadProfiles(const std::string& profilesFile) {
    auto loaded = ProfilesDocument::load(pathFromUtf8(profilesFile));
    if (!loaded) {
        return failure::UnreadableFile{std::move(loaded).failure().reason};
    }
    return std::move(loaded).value();
}

ProfileBlock generateProfile(XmlElement profile, std::string_view name, const GenerationInput& input,
                             const BlockChecks& checks) {
    ProfileBlock block;
    block.generation =
        CreateUserCommands(profile, input.options, input.vocabulary, input.date, input.changes, name);
    const std::string& text = block.generation.text;
    if (block.generation.stop) {
        block.failure = failure::Stopped{*block.generation.stop};
        return block;
    }
    if (checks.refuseMenuErrors) {
        preview::MenuPreview preview = preview::previewUserCommands(text);
        if (preview.hasError()) {
            block.failure = failure::MenuMisread{std::move(preview.findings)};
            return block;
        }
    }
    if (checks.encoding) {
        Conversion encoded = encodeUtf8(text, *checks.encoding);
        if (encoded.failure) {
            block.failure =
                failure::Unencodable{*checks.encoding, sourceOfCharacter(*encoded.failure, input, text)};
            return block;
        }
        block.bytes = std::move(encoded.bytes);
    }
    return block;
}

ProfileBlock generateProfile(const ProfilesDocument& document, std::size_t index,
                             const GenerationInput& input, const BlockChecks& checks) {
    ProfileBlock block =
        generateProfile(document.profile(static_cast<int>(index)), document.names()[index], input, checks);
    block.index = index;
    block.name = document.names()[index];
    return block;
}

void warnOfUnknownProfiles(GenerationInput& input, const ProfilesDocument& document,
                           const std::string& profilesFile) {
    const std::unordered_set<std::string> held(document.names().begin(), document.names().end());
    const auto warn = [&](const ProfileChoice& choice, const std::string& what) {
        for (const std::string& name : choice.names) {
            if (!held.contains(name)) {
                std::string warning = input.changesFile;
                warning += ": " + what + " names the profile " + quotedText(name) + ", which ";
                warning += profilesFile + " does not hold";
                input.warnings.push_back({std::move(warning)});
            }
        }
    };
    for (const ItemOff& off : input.changes.itemsOff) {
        warn(off.profiles, "the item " + quotedText(off.identity) + " switched off");
    }
    for (std::size_t i = 0; i < input.changes.ownItems.size(); ++i) {
        const OwnItem& item = input.changes.ownItems[i];
        warn(item.profiles, "the own item " + std::to_string(i + 1) + " " + quotedText(item.path));
    }
}

Result<ChosenProfile, GenerationFailure> readChosenProfile(const GenerationRequest& request) {
    auto input = readGenerationInput(request);
    if (!input) {
        return std::move(input).failure();
    }
    auto document = loadProfiles(request.profilesFile);
    if (!document) {
        return std::move(document).failure();
    }
    const auto index = chosenIndex(document.value(), request);
    if (!index) {
        return index.failure();
    }
    warnOfUnknownProfiles(input.value(), document.value(), request.profilesFile);
    return ChosenProfile{std::move(input).value(), std::move(document).value(), index.value()};
}

ProfileBlock generateChosenProfile(const GenerationRequest& request, bool refuseMenuErrors) {
    auto chosen = readChosenProfile(request);
    if (!chosen) {
        return failed(std::move(chosen).failure());
    }
    return generateProfile(chosen->document, chosen->index, chosen->input,
                           {refuseMenuErrors, request.codePage()});
}

} // namespace tavu
