#pragma once

// The XML reading layer: a libxml2 document held by RAII, read with no network
// access and no external DTD or entity, and a small element view over it.

#include "base/result.h"
#include "platform/file.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// libxml2's own names, declared so that its headers stay out of this one.
struct _xmlDoc;  // NOLINT(bugprone-reserved-identifier)
struct _xmlNode; // NOLINT(bugprone-reserved-identifier)

namespace tavu {

// What an element holds as text: nothing, one run of text (text and CDATA
// sections, comments skipped), or content that is not text (child elements).
struct ElementText {
    enum class Kind { None, Text, NotText };
    Kind kind = Kind::None;
    std::string text;
};

class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(const _xmlNode* node) : node_(node) {}

    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const XmlElement&) const = default;

    std::string_view name() const;
    // The first child element with exactly this name (letter case included).
    XmlElement child(std::string_view name) const;
    XmlElement firstChildElement() const;
    XmlElement nextSiblingElement() const;
    std::optional<std::string> attribute(std::string_view name) const;
    ElementText text() const;

private:
    const _xmlNode* node_ = nullptr;
};

struct XmlDocumentDeleter {
    void operator()(_xmlDoc* document) const;
};
using XmlDocumentPtr = std::unique_ptr<_xmlDoc, XmlDocumentDeleter>;

// The most attributes one element, or one declaration of the internal DTD
// subset, may carry, its default and namespace attributes included. A profile
// element carries a handful and no element of a profiles file more than a few
// dozen, while libxml2's check for a repeated attribute takes time growing
// with the square of their number (40,000 attributes on one element take
// seconds, 300,000 minutes). A declaration counts too, as an entity's text may
// hold an element with its attributes.
inline constexpr std::size_t kMaxAttributesPerElement = 1000;
// The most pairs of attributes of the same element that a file's elements
// hold in all: libxml2 compares each pair when it checks for a repeated
// attribute. An element of 1,000 attributes holds 499,500 pairs; the elements
// of a profiles file, a pair or two at most.
inline constexpr std::size_t kMaxAttributePairs = 100'000'000;
// The most attributes the elements of a file carry in all: a profile carries
// at most one for each of its 81 permissions, so 10,000 profiles carry 810,000.
inline constexpr std::size_t kMaxAttributesPerFile = 2'000'000;
// The most namespaces declared around one element: libxml2 looks each prefix
// up through all of them. A profiles file declares none.
inline constexpr std::size_t kMaxNamespacesInScope = 100;

// Parses the bytes of a file. `name` only labels error messages. The declared
// encoding (or byte-order mark) is honoured; internal entities are expanded, and
// no external entity, DTD or URL is ever read. The parse must reach the end of
// the bytes: a NUL byte is never taken for the end of the file. A file beyond
// one of the bounds above is refused, as is one in an encoding other than
// UTF-8, UTF-16, ASCII and the ISO-8859 and Windows code pages; the first
// error of the parse ends it.
Result<XmlDocumentPtr, Unreadable> parseXml(std::string_view bytes, const std::string& name);

XmlElement documentElement(const _xmlDoc* document);

} // namespace tavu
