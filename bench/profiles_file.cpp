#include "profiles_file.h"

#include "support.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace tavu::bench {

namespace {

struct Group {
    std::string_view name;
    std::string elements;
};
struct Section {
    std::string_view name;
    std::vector<Group> groups;
};

std::string grantElement(std::string_view key, bool enableTest) {
    const std::string name(key);
    return enableTest ? "<" + name + " enable=\"true\"/>" : "<" + name + ">1</" + name + ">";
}

template <typename Named>
Named& findOrAdd(std::vector<Named>& list, std::string_view name) {
    for (Named& item : list) {
        if (item.name == name) {
            return item;
        }
    }
    list.push_back(Named{name, {}});
    return list.back();
}

// Sections and groups in the order first named, each element on its own line.
std::vector<Section> grantedTree(double grantedShare) {
    const auto& all = test::allPermissionElements();
    const auto count = static_cast<std::size_t>(std::lround(grantedShare * static_cast<double>(all.size())));
    std::vector<Section> sections;
    for (std::size_t i = 0; i < count && i < all.size(); ++i) {
        const std::string_view path = all[i].path;
        const auto first = path.find('/');
        const auto second = path.find('/', first + 1);
        Section& section = findOrAdd(sections, path.substr(0, first));
        Group& group = findOrAdd(section.groups, path.substr(first + 1, second - first - 1));
        group.elements += "        " + grantElement(path.substr(second + 1), all[i].enableTest) + "\n";
    }
    return sections;
}

// One profile's body after its name; the same for every profile of a file.
std::string profileBody(double grantedShare) {
    std::string body;
    for (const Section& section : grantedTree(grantedShare)) {
        body += "    <" + std::string(section.name) + ">\n";
        for (const Group& group : section.groups) {
            const std::string name(group.name);
            body += "      <" + name + ">\n" + group.elements + "      </" + name + ">\n";
        }
        body += "    </" + std::string(section.name) + ">\n";
    }
    return body;
}

} // namespace

std::string profilesFile(const std::vector<double>& grantedShares) {
    std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profiles>\n";
    for (std::size_t i = 0; i < grantedShares.size(); ++i) {
        file += "  <Profile>\n    <Name>Profile " + std::to_string(i + 1) + "</Name>\n" +
                profileBody(grantedShares[i]) + "  </Profile>\n";
    }
    return file + "</Profiles>\n";
}

} // namespace tavu::bench
