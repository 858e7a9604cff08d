#pragma once

// The XML reading layer: a libxml2 document held by RAII, read with no network
// access and no external DTD or entity, and a small element view over it.

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

struct XmlParseResult {
    XmlDocumentPtr document; // null when parsing failed
    std::string error;       // the parser's description of the failure
};

// The most attributes one element, or one declaration of the internal DTD
// subset, may carry. A profile element carries a handful and no element of a
// profiles file more than a few dozen, while libxml2's check for a repeated
// attribute takes time growing with the square of their number (40,000
// attributes on one element take seconds, 300,000 minutes). A declaration
// counts too, as an entity's text may hold an element with its attributes.
inline constexpr std::size_t kMaxAttributesPerElement = 1000;

// Parses the bytes of a file. `name` only labels error messages. The declared
// encoding (or byte-order mark) is honoured; internal entities are expanded, and
// no external entity, DTD or URL is ever read. The parse must reach the end of
// the bytes: a NUL byte is never taken for the end of the file. A file with an
// element of more than kMaxAttributesPerElement attributes is refused before
// it is parsed.
XmlParseResult parseXml(std::string_view bytes, const std::string& name);

XmlElement documentElement(const _xmlDoc* document);

} // namespace tavu
