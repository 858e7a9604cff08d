#include "formats/xml.h"

#include "formats/xml_code_pages.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <mutex>

namespace tavu {

namespace {

std::string_view nodeName(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

// A prefixed name such as "x:General" is not the name "General".
bool hasName(const xmlNode* node, std::string_view name) {
    // Compared without measuring the node's name first: most siblings differ
    // within their first few characters.
    const char* actual = reinterpret_cast<const char*>(node->name);
    return node->type == XML_ELEMENT_NODE && (node->ns == nullptr || node->ns->prefix == nullptr) &&
           std::strncmp(actual, name.data(), name.size()) == 0 && actual[name.size()] == '\0';
}

const xmlNode* elementFrom(const xmlNode* node) {
    while (node != nullptr && node->type != XML_ELEMENT_NODE) {
        node = node->next;
    }
    return node;
}

// libxml2 asks this for every external resource: DTDs, external entities,
// XIncludes. A profiles file needs none, and reading one could leak local files
// or reach the network, so every request is refused.
xmlParserInputPtr refuseExternalResource(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void ignoreLibxmlMessage(void*, const char*, ...) {}

void configureLibxmlOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseExternalResource);
        xmlSetGenericErrorFunc(nullptr, ignoreLibxmlMessage);
        addMissingXmlCodePages();
    });
}

// "name, line 3: message", the line left out when it is not known.
std::string placed(const std::string& name, int line, std::string_view message) {
    std::string where = name;
    if (line > 0) {
        where += ", line " + std::to_string(line);
    }
    return where + ": " + std::string(message);
}

std::string describe(const xmlError* error, const std::string& name) {
    if (error == nullptr || error->message == nullptr) {
        return name + ": the file is not a readable XML document.";
    }
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return placed(name, error->line, message);
}

struct ParserContextDeleter {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// Where the parser stopped reading, as seen at the end of the document.
struct DocumentEnd {
    bool reached = false;
    bool inputLeft = false;
    int line = 0;
};

// Some libxml2 versions take a NUL byte after the root element for the end of
// the input and silently drop whatever follows it, so the parser must have
// read its input to the end. That is checked at the document's end: the input
// is still open there (newer versions close it before the read returns), and
// it holds decoded text, so a NUL character in a UTF-16 file counts while the
// NUL bytes of the encoding itself do not.
void endDocumentCheckingTheInputEnd(void* userData) {
    auto* context = static_cast<xmlParserCtxt*>(userData);
    xmlSAX2EndDocument(context);
    auto* end = static_cast<DocumentEnd*>(context->_private);
    const xmlParserInput* input = context->input;
    end->reached = true;
    end->inputLeft = input == nullptr || input->cur != input->end;
    end->line = input != nullptr ? input->line : 0;
}

// The bytes of a file as the characters of its markup. Only ASCII characters
// matter here: in UTF-16 and UTF-32, recognised from their first bytes as
// libxml2 recognises them, a character is two or four bytes; in every other
// encoding libxml2 reads it is a byte, and the bytes of "<", ">", "=", quotes,
// "!", "?" and "-" stand for themselves (other characters' bytes are never
// below 0x40 in the code pages that use several bytes for a character).
class MarkupCharacters {
public:
    explicit MarkupCharacters(std::string_view bytes) : bytes_(bytes) {
        struct Form {
            std::string_view start;
            std::size_t width;
            std::size_t asciiByte;
        };
        static constexpr Form kForms[] = {
            {{"\0\0\0<", 4}, 4, 3}, {{"<\0\0\0", 4}, 4, 0}, {{"\0\0<\0", 4}, 4, 2},
            {{"\0<\0\0", 4}, 4, 1}, {{"\0<\0?", 4}, 2, 1},  {{"<\0?\0", 4}, 2, 0},
            {"\xEF\xBB\xBF", 1, 0}, {"\xFE\xFF", 2, 1},     {"\xFF\xFE", 2, 0},
        };
        for (const Form& form : kForms) {
            if (bytes.starts_with(form.start)) {
                width_ = form.width;
                asciiByte_ = form.asciiByte;
                break;
            }
        }
        size_ = bytes.size() / width_;
    }

    std::size_t size() const { return size_; }

    // The ASCII character at `index`, NUL for any other.
    char operator[](std::size_t index) const {
        const std::string_view unit = bytes_.substr(index * width_, width_);
        for (std::size_t k = 0; k < width_; ++k) {
            if (k != asciiByte_ && unit[k] != '\0') {
                return '\0';
            }
        }
        const char c = unit[asciiByte_];
        return static_cast<unsigned char>(c) < 0x80 ? c : '\0';
    }

    bool startsWith(std::size_t index, std::string_view ascii) const {
        for (std::size_t k = 0; k < ascii.size(); ++k) {
            if (index + k >= size_ || (*this)[index + k] != ascii[k]) {
                return false;
            }
        }
        return true;
    }

    // Where the ASCII text next starts at or after `index`; size() when nowhere.
    std::size_t find(std::string_view ascii, std::size_t index) const {
        while (index < size_ && !startsWith(index, ascii)) {
            ++index;
        }
        return index;
    }

private:
    std::string_view bytes_;
    std::size_t width_ = 1;
    std::size_t asciiByte_ = 0;
    std::size_t size_ = 0;
};

// Moves `at` past the comment, CDATA section or processing instruction that
// starts there; false when none does.
bool skipUncountedMarkup(const MarkupCharacters& text, std::size_t& at) {
    if (text.startsWith(at, "<!--")) {
        at = text.find("-->", at + 4) + 3;
    } else if (text.startsWith(at, "<![CDATA[")) {
        at = text.find("]]>", at + 9) + 3;
    } else if (text.startsWith(at, "<?")) {
        at = text.find("?>", at + 2) + 2;
    } else {
        return false;
    }
    return true;
}

// The attributes of the start tag whose "<" is at `at`, counted up to the
// limit and one: each "=" outside the quoted values. The tag ends at its ">",
// or at a "<", which no value may hold and where libxml2 stops the tag too.
// `at` is left after the tag, or at that "<".
std::size_t countAttributes(const MarkupCharacters& text, std::size_t& at) {
    std::size_t count = 0;
    for (++at; at < text.size() && count <= kMaxAttributesPerElement; ++at) {
        const char c = text[at];
        if (c == '"' || c == '\'') {
            do {
                ++at;
            } while (at < text.size() && text[at] != c && text[at] != '<');
        }
        if (at < text.size() && text[at] == '<') {
            break;
        }
        if (c == '>') {
            ++at;
            break;
        }
        count += c == '=' ? 1 : 0;
    }
    return count;
}

// The same for a declaration ("<!DOCTYPE", "<!ENTITY", ...), whose quoted
// text may be an entity's, holding a start tag written with "=" or character
// references: both count wherever they stand, up to the ">" outside quotes.
// The comments and processing instructions of a DTD's internal subset are
// passed over.
std::size_t countDeclarationAttributes(const MarkupCharacters& text, std::size_t& at) {
    std::size_t count = 0;
    char quote = '\0';
    for (at += 2; at < text.size() && count <= kMaxAttributesPerElement;) {
        const char c = text[at];
        if (quote == '\0' && skipUncountedMarkup(text, at)) {
            continue;
        }
        if (c == '=' || text.startsWith(at, "&#")) {
            ++count;
        } else if (quote == '\0' && (c == '"' || c == '\'')) {
            quote = c;
        } else if (c == quote) {
            quote = '\0';
        } else if (quote == '\0' && c == '>') {
            ++at;
            break;
        }
        ++at;
    }
    return count;
}

// Whether an element or a declaration carries more attributes than
// kMaxAttributesPerElement, found in one pass over the bytes without parsing
// them: comments, CDATA sections and processing instructions are passed over
// whole, so that an "=" or ">" in them, as in a quoted value, counts nothing.
bool carriesTooManyAttributes(std::string_view bytes) {
    const MarkupCharacters text(bytes);
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] != '<') {
            ++at;
            continue;
        }
        if (skipUncountedMarkup(text, at)) {
            continue;
        }
        const std::size_t count =
            text.startsWith(at, "<!") ? countDeclarationAttributes(text, at) : countAttributes(text, at);
        if (count > kMaxAttributesPerElement) {
            return true;
        }
    }
    return false;
}

} // namespace

void XmlDocumentDeleter::operator()(_xmlDoc* document) const {
    xmlFreeDoc(document);
}

std::string_view XmlElement::name() const {
    return node_ ? nodeName(node_) : std::string_view{};
}

XmlElement XmlElement::child(std::string_view name) const {
    if (node_ == nullptr) {
        return {};
    }
    for (const xmlNode* node = node_->children; node != nullptr; node = node->next) {
        if (hasName(node, name)) {
            return XmlElement(node);
        }
    }
    return {};
}

XmlElement XmlElement::firstChildElement() const {
    return XmlElement(node_ ? elementFrom(node_->children) : nullptr);
}

XmlElement XmlElement::nextSiblingElement() const {
    return XmlElement(node_ ? elementFrom(node_->next) : nullptr);
}

std::optional<std::string> XmlElement::attribute(std::string_view name) const {
    if (node_ == nullptr) {
        return std::nullopt;
    }
    for (const xmlAttr* attribute = node_->properties; attribute != nullptr; attribute = attribute->next) {
        if (reinterpret_cast<const char*>(attribute->name) != name ||
            (attribute->ns != nullptr && attribute->ns->prefix != nullptr)) {
            continue;
        }
        std::string value;
        for (const xmlNode* part = attribute->children; part != nullptr; part = part->next) {
            if (part->content != nullptr) {
                value += reinterpret_cast<const char*>(part->content);
            }
        }
        return value;
    }
    return std::nullopt;
}

ElementText XmlElement::text() const {
    ElementText result;
    if (node_ == nullptr) {
        return result;
    }
    for (const xmlNode* node = node_->children; node != nullptr; node = node->next) {
        switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            result.kind = ElementText::Kind::Text;
            result.text += reinterpret_cast<const char*>(node->content);
            break;
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            break;
        default:
            return {ElementText::Kind::NotText, {}};
        }
    }
    return result;
}

XmlParseResult parseXml(std::string_view bytes, const std::string& name) {
    configureLibxmlOnce();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return {nullptr, name + ": the file is too large to read."};
    }
    if (carriesTooManyAttributes(bytes)) {
        return {nullptr, name + ": an element carries more than " + std::to_string(kMaxAttributesPerElement) +
                             " attributes, more than any profiles file holds, so the file is not read."};
    }
    std::unique_ptr<xmlParserCtxt, ParserContextDeleter> context(xmlNewParserCtxt());
    if (!context) {
        return {nullptr, name + ": out of memory."};
    }
    // No XML_PARSE_HUGE: libxml2 keeps its limits on depth, text size and entity
    // expansion. No XML_PARSE_DTDLOAD, and NONET on top of the refusing loader.
    constexpr int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                            XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    DocumentEnd end;
    context->_private = &end;
    context->sax->endDocument = endDocumentCheckingTheInputEnd;
    XmlDocumentPtr document(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                              nullptr, nullptr, options));
    if (!document || !context->wellFormed) {
        return {nullptr, describe(xmlCtxtGetLastError(context.get()), name)};
    }
    // Worded as libxml2 words any other content after the root element.
    if (!end.reached || end.inputLeft) {
        return {nullptr, placed(name, end.line, "Extra content at the end of the document")};
    }
    return {std::move(document), {}};
}

XmlElement documentElement(const _xmlDoc* document) {
    return XmlElement(document ? xmlDocGetRootElement(const_cast<xmlDoc*>(document)) : nullptr);
}

} // namespace tavu
