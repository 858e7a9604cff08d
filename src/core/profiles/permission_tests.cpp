#include "profiles/permission_tests.h"

#include "base/text.h"

#include <charconv>

namespace tavu {

namespace {

using Outcome = PermissionReading::Outcome;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

bool isSign(char c) {
    return c == '+' || c == '-';
}

} // namespace

XmlElement permissionElement(XmlElement profile, std::string_view path) {
    XmlElement element = profile;
    while (element) {
        const auto slash = path.find('/');
        element = element.child(path.substr(0, slash));
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return element;
}

std::optional<double> readNumber(std::string_view text) {
    text = trimmed(text, kAsciiWhiteSpace);
    std::size_t i = 0;
    if (i < text.size() && isSign(text[i])) {
        ++i;
    }
    const std::size_t integerEnd = skipDigits(text, i);
    std::size_t end = integerEnd;
    std::size_t fractionDigits = 0;
    if (end < text.size() && (text[end] == '.' || text[end] == ',')) {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        fractionDigits = fractionEnd - end - 1;
        end = fractionEnd;
    }
    if (integerEnd == i && fractionDigits == 0) {
        return std::nullopt;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && isSign(text[exponent])) {
            ++exponent;
        }
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd == exponent) {
            return std::nullopt;
        }
        end = exponentEnd;
    }
    if (end != text.size()) {
        return std::nullopt;
    }
    std::string canonical(text);
    for (char& c : canonical) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0;
    const auto [last, error] = std::from_chars(canonical.data() + (canonical[0] == '+' ? 1 : 0),
                                               canonical.data() + canonical.size(), value);
    if (error == std::errc::invalid_argument || last != canonical.data() + canonical.size()) {
        return std::nullopt;
    }
    // Too large or too small for a double, the number is still not zero and
    // keeps its sign, which is all a test asks of it.
    if (error == std::errc::result_out_of_range) {
        return canonical[0] == '-' ? -1.0 : 1.0;
    }
    return value;
}

std::optional<bool> readBoolean(std::string_view text) {
    const std::string_view word = trimmed(text, kAsciiWhiteSpace);
    if (equalsIgnoringAsciiCase(word, "true")) {
        return true;
    }
    if (equalsIgnoringAsciiCase(word, "false")) {
        return false;
    }
    if (const auto number = readNumber(word)) {
        return *number != 0;
    }
    return std::nullopt;
}

PermissionReading enableTest(XmlElement profile, std::string_view path) {
    return enableTest(permissionElement(profile, path));
}

PermissionReading valueTest(XmlElement profile, std::string_view path) {
    return valueTest(permissionElement(profile, path));
}

PermissionReading enableTest(XmlElement element) {
    const auto attribute = element.attribute("enable");
    if (!attribute) {
        return {Outcome::Fail, {}};
    }
    const auto enabled = readBoolean(*attribute);
    if (!enabled) {
        return {Outcome::Unreadable, *attribute};
    }
    return {*enabled ? Outcome::Pass : Outcome::Fail, {}};
}

PermissionReading valueTest(XmlElement element) {
    const ElementText content = element.text();
    if (content.kind == ElementText::Kind::NotText) {
        return {Outcome::Unreadable, "(content that is not text)"};
    }
    if (trimmed(content.text, kAsciiWhiteSpace).empty()) {
        return {Outcome::Fail, {}};
    }
    const auto number = readNumber(content.text);
    if (!number) {
        return {Outcome::Unreadable, content.text};
    }
    return {*number > 0 ? Outcome::Pass : Outcome::Fail, {}};
}

} // namespace tavu
