#include "platform/xml.h"

#include "platform/xml_code_pages.h"

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
