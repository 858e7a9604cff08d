#include "preview/client_family.h"

#include <bit>
#include <vector>

namespace tavu::preview {

std::string_view familyName(ClientFamily family) {
    switch (family) {
    case ClientFamily::EiskaltDc:
        return "EiskaltDC++";
    case ClientFamily::Dcpp:
        return "DC++";
    case ClientFamily::AirDcpp:
        return "AirDC++";
    }
    return "";
}

std::string_view familyKey(ClientFamily family) {
    switch (family) {
    case ClientFamily::EiskaltDc:
        return "eiskaltdc";
    case ClientFamily::Dcpp:
        return "dcpp";
    case ClientFamily::AirDcpp:
        return "airdcpp";
    }
    return "";
}

Result<ClientFamily, UnknownFamily> familyFromKey(std::string_view key) {
    for (ClientFamily family : kClientFamilies) {
        if (familyKey(family) == key) {
            return family;
        }
    }
    return UnknownFamily{std::string(key)};
}

std::string familyNames(ClientFamilies families) {
    std::vector<std::string_view> names;
    for (ClientFamily family : kClientFamilies) {
        if (contains(families, family)) {
            names.push_back(familyName(family));
        }
    }
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        joined += i == 0 ? "" : (i + 1 == names.size() ? " and " : ", ");
        joined += names[i];
    }
    return joined;
}

bool isPlural(ClientFamilies families) {
    return std::popcount(families & kEveryFamily) > 1;
}

} // namespace tavu::preview
