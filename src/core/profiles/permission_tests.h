#pragma once

#include "formats/xml.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavu {

// The permission element named "Section/Group/Key" below a profile element:
// each name matched exactly against the child elements, the first match taken.
XmlElement permissionElement(XmlElement profile, std::string_view path);

// The texts the tests accept. A Boolean is true or false in any letter case, or
// a number (0 is false). A number is an optional sign, digits with "." or ","
// as decimal separator, and an optional exponent. White space around either is
// ignored.
std::optional<bool> readBoolean(std::string_view text);
std::optional<double> readNumber(std::string_view text);

struct PermissionReading {
    enum class Outcome { Pass, Fail, Unreadable };
    Outcome outcome;
    std::string text; // with Unreadable: the text that could not be read
};

// The two tests on an element already looked up.
PermissionReading enableTest(XmlElement element);
PermissionReading valueTest(XmlElement element);

// Passes when the attribute "enable" reads as true. A missing element or
// attribute fails quietly; a text that is not a Boolean is unreadable.
PermissionReading enableTest(XmlElement profile, std::string_view path);
// Passes when the element's text reads as a number greater than 0. A missing
// element or one without text fails quietly; a text that is not a number, or
// content that is not text, is unreadable.
PermissionReading valueTest(XmlElement profile, std::string_view path);

} // namespace tavu
