#include "support.h"

#include "platform/path_text.h"

#include <stdexcept>

namespace tavu::test {

namespace {

std::string elementName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace

ProfileBuilder& ProfileBuilder::enable(const std::string& path, const std::string& attribute) {
    const std::string name = elementName(path);
    elements_[path] = "<" + name + " enable=\"" + attribute + "\"/>";
    return *this;
}

ProfileBuilder& ProfileBuilder::value(const std::string& path, const std::string& text) {
    const std::string name = elementName(path);
    elements_[path] = "<" + name + ">" + text + "</" + name + ">";
    return *this;
}

ProfileBuilder& ProfileBuilder::content(const std::string& path, const std::string& xml) {
    return value(path, xml);
}

std::string ProfileBuilder::xml(const std::string& name) const {
    return "<?xml version=\"1.0\"?>\n<Profiles>" + profile(name) + "</Profiles>\n";
}

std::string ProfileBuilder::profile(const std::string& name) const {
    // section -> group -> elements, in the order first named
    std::map<std::string, std::map<std::string, std::string>> tree;
    for (const auto& [path, element] : elements_) {
        const auto first = path.find('/');
        const auto second = path.find('/', first + 1);
        tree[path.substr(0, first)][path.substr(first + 1, second - first - 1)] += element;
    }
    std::string xml = "<Profile><Name>" + name + "</Name>";
    for (const auto& [section, groups] : tree) {
        xml += "<" + section + ">";
        for (const auto& [group, elements] : groups) {
            xml += "<" + group + ">" + elements + "</" + group + ">";
        }
        xml += "</" + section + ">";
    }
    return xml + "</Profile>";
}

ProfilesDocument ProfileBuilder::document(const std::string& name) const {
    auto loaded = ProfilesDocument::parse(xml(name), "test profiles");
    if (!loaded) {
        throw std::runtime_error(loaded.failure().reason);
    }
    return std::move(loaded).value();
}

GenerationOptions allOptionsOn() {
    GenerationOptions options;
    options.offsets = true;
    return options;
}

GenerationOptions onlyItemOptions() {
    GenerationOptions options = allOptionsOn();
    options.menuMiscellaneous = options.menuInformation = options.menuHubControl = false;
    options.menuAccounts = options.menuUserControl = options.clear = options.message = false;
    return options;
}

Generation generate(const ProfilesDocument& document, const GenerationOptions& options,
                    const Vocabulary& vocabulary, std::string_view date) {
    return CreateUserCommands(document.profile(0), options, vocabulary, date);
}

std::vector<std::string> emissions(std::string_view text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|', start)) {
        result.emplace_back(text.substr(start, bar + 1 - start));
        start = bar + 1;
    }
    if (start < text.size()) {
        result.emplace_back(text.substr(start));
    }
    return result;
}

std::string hubCommand(const std::string& emission) {
    const std::string_view head = "$<%[mynick]> ";
    const std::string_view tail = "&#124;|";
    const auto start = emission.find(head) + head.size();
    return emission.substr(start, emission.size() - start - tail.size());
}

std::vector<std::string> hubCommands(const std::vector<std::string>& emissions) {
    std::vector<std::string> commands;
    for (const std::string& emission : emissions) {
        commands.push_back(hubCommand(emission));
    }
    return commands;
}

const std::vector<PermissionElement>& allPermissionElements() {
    static const std::vector<PermissionElement> elements{
        {"General/ProfileSettings/MayUseHubCommands", true},
        {"General/ProfileSettings/MayHideShare", true},
        {"General/ProfileSettings/MayHideMe", true},
        {"General/Information/MayShowHubInfo", true},
        {"General/Information/MayShowUserInfo", false},
        {"General/Information/MayShowIPInfo", true},
        {"General/Information/MayShowNickInfo", true},
        {"General/Information/MayShowTrafficInfo", false},
        {"General/Information/MayShowTrafficStats", true},
        {"General/HubControl/MaySetTopic", false},
        {"General/HubControl/MayDisabledMainChat", true},
        {"Miscellaneous/Miscellaneous/MayAdminChatRooms", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnHubFull", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnIncorrectISP", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnLowShare", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnHighShare", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnRegOnly", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnPassive", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnNoTag", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnHighHubs", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnLowSlots", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnHighSlots", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnLowSlotRatio", true},
        {"Miscellaneous/Redirects/MayRedirectChangeOnBaned", true},
        {"General/HubControl/MayChangeUserLimit", true},
        {"General/ConnRestrictions/MaySetMinShare", true},
        {"General/ConnRestrictions/MaySetMaxShare", true},
        {"General/ConnRestrictions/MaySetMaxHubs", true},
        {"General/ConnRestrictions/MaySetMinSlots", true},
        {"General/ConnRestrictions/MaySetMaxSlots", true},
        {"General/ConnRestrictions/MaySetSlotRatio", true},
        {"Miscellaneous/Miscellaneous/MayAdminTextFiles", false},
        {"ISP/AdminISPs/MayISPAddISP", true},
        {"ISP/AdminISPs/MayISPDelISP", true},
        {"ISP/AdminISPs/MayISPShowISPs", true},
        {"ISP/AdminISPs/MayISPSetMinShare", true},
        {"ISP/AdminISPs/MayISPSetMaxShare", true},
        {"ISP/AdminISPs/MayISPSetMaxHubs", true},
        {"ISP/AdminISPs/MayISPSetMinSlots", true},
        {"ISP/AdminISPs/MayISPSetMaxSlots", true},
        {"ISP/AdminISPs/MayISPSetSlotRatio", true},
        {"ISP/AdminIPs/MayISPShowIPsOnISP", true},
        {"ISP/AdminIPs/MayISPAddIP", true},
        {"ISP/AdminIPs/MayISPDelIP", true},
        {"General/HubControl/MayLockHub", true},
        {"General/HubControl/MayRedirectAll", false},
        {"General/HubControl/MaySetWorkPace", true},
        {"General/HubControl/MaySaveSettings", true},
        {"UserAdmin/Accounts/MayAccountsAdd", false},
        {"UserAdmin/Accounts/MayAccountsDel", false},
        {"UserAdmin/Accounts/MayAccountsList", false},
        {"UserAdmin/Accounts/MayAccountsSetProfile", false},
        {"UserAdmin/Accounts/MayAccountsSetIPs", false},
        {"UserAdmin/Accounts/MayAccountsShowIPs", false},
        {"UserAdmin/Accounts/MayAccountsSetComment", false},
        {"UserAdmin/Accounts/MayAccountsSetGreeting", false},
        {"UserAdmin/Accounts/MayAccountsSetExpireDate", false},
        {"UserAdmin/Accounts/MayAccountsSetOwner", false},
        {"UserAdmin/Accounts/MayAccountsSetPass", false},
        {"UserAdmin/Accounts/MayAccountsShowPass", false},
        {"UserAdmin/Accounts/MayAccountsProfilesShow", false},
        {"Miscellaneous/Miscellaneous/MayAdminRegistered", true},
        {"UserAdmin/UserControl/MayDropUser", false},
        {"UserAdmin/UserControl/MayBlockUser", false},
        {"UserAdmin/UserControl/MayUseMuteUser", false},
        {"UserAdmin/UserControl/MayUseLunarizeUser", false},
        {"UserAdmin/UserControl/MayUseKennylizeUser", false},
        {"UserAdmin/UserControl/MayRedirect", false},
        {"UserAdmin/UserControl/MayKickUser", false},
        {"UserAdmin/UserControl/MayBanTempban", true},
        {"UserAdmin/UserControl/MayBanNick", false},
        {"UserAdmin/UserControl/MayBanIP", true},
        {"UserAdmin/UserControl/MayBanDNS", true},
        {"UserAdmin/UserControl/MayBanClients", true},
        {"Miscellaneous/Miscellaneous/MayUseSay", false},
        {"Miscellaneous/Miscellaneous/MayUseMC", true},
        {"Miscellaneous/Miscellaneous/MayUsePM", true},
        {"Miscellaneous/Miscellaneous/MayUseOPM", true},
        {"Miscellaneous/Miscellaneous/MayUsePMProfile", false},
        {"Miscellaneous/Miscellaneous/MayUseInform", true},
        {"Miscellaneous/Miscellaneous/MayUseWarn", false},
    };
    return elements;
}

ProfileBuilder everythingGranted() {
    ProfileBuilder builder;
    for (const PermissionElement& element : allPermissionElements()) {
        if (element.enableTest) {
            builder.enable(std::string(element.path));
        } else {
            builder.value(std::string(element.path));
        }
    }
    return builder;
}

std::string fileUri(const std::filesystem::path& path) {
    const std::filesystem::path absolute = std::filesystem::absolute(path);
    // A drive letter needs the third slash that a POSIX path brings itself.
    return std::string(absolute.has_root_name() ? "file:///" : "file://") + absolute.generic_string();
}

std::string writeFailureText(const Result<Done, Unwritable>& written) {
    return written ? std::string()
                   : "Unable to write to " + utf8FromPath(written.failure().path) + "\n" +
                         written.failure().reason;
}

} // namespace tavu::test
