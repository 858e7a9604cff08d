#pragma once

// The Direct Connect clients whose reading of a block the preview knows.
// EiskaltDC++ keeps every user command a hub sends. DC++ and AirDC++ share a
// core that keeps them otherwise: a command of the same title, context and
// type as one it holds replaces that one's command in its place, and it keeps
// only so many commands of a hub.

#include "base/result.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavu::preview {

enum class ClientFamily : unsigned { EiskaltDc = 1, Dcpp = 2, AirDcpp = 4 };

inline constexpr std::array kClientFamilies{ClientFamily::EiskaltDc, ClientFamily::Dcpp,
                                            ClientFamily::AirDcpp};

// Families as a set of their bits.
using ClientFamilies = unsigned;
inline constexpr ClientFamilies kEveryFamily = 7;

constexpr ClientFamilies only(ClientFamily family) {
    return static_cast<ClientFamilies>(family);
}
constexpr bool contains(ClientFamilies families, ClientFamily family) {
    return (families & only(family)) != 0;
}

// Whether the family's core replaces a repeated command and keeps a limited
// number of them.
constexpr bool replacesRepeats(ClientFamily family) {
    return family != ClientFamily::EiskaltDc;
}

// The most user commands the family keeps from one hub; it drops the rest.
constexpr std::optional<std::size_t> commandLimit(ClientFamily family) {
    switch (family) {
    case ClientFamily::Dcpp:
        return 5000;
    case ClientFamily::AirDcpp:
        return 2000;
    case ClientFamily::EiskaltDc:
        break;
    }
    return std::nullopt;
}

// "EiskaltDC++", "DC++", "AirDC++".
std::string_view familyName(ClientFamily family);
// "eiskaltdc", "dcpp", "airdcpp": the word the command line takes.
std::string_view familyKey(ClientFamily family);

// A word that names no family.
struct UnknownFamily {
    std::string word;
};
Result<ClientFamily, UnknownFamily> familyFromKey(std::string_view key);

// The names of the families of the set in the order of kClientFamilies,
// joined by ", " and " and ": "DC++ and AirDC++".
std::string familyNames(ClientFamilies families);

// Whether the set holds more than one family, for the verb after its names.
bool isPlural(ClientFamilies families);

} // namespace tavu::preview
