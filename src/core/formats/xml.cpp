#include "formats/xml.h"

#include "formats/xml_code_pages.h"

#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "base/text.h"
#include "formats/code_page.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

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

// The parser's first fatal error, or nothing: the one that ended the parse.
struct ParseError {
    std::string message;
    int line = 0;
};

std::optional<ParseError> firstErrorOf(const xmlError* error) {
    if (error == nullptr || error->message == nullptr) {
        return std::nullopt;
    }
    ParseError first{error->message, error->line};
    while (!first.message.empty() && (first.message.back() == '\n' || first.message.back() == ' ')) {
        first.message.pop_back();
    }
    return first;
}

std::string describe(const std::optional<ParseError>& error, const std::string& name) {
    if (!error) {
        return name + ": the file is not a readable XML document.";
    }
    return placed(name, error->line, error->message);
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

// What the parse has met so far of the bounds no profiles file comes near,
// kept in the parser context's _private: the contexts libxml2 makes for the
// text of an entity share it.
struct ParseWatch {
    DocumentEnd end;
    std::size_t attributesInAll = 0;
    std::vector<std::size_t> namespacesOpened; // by each open element
    std::size_t namespacesInScope = 0;
    std::map<std::string, std::size_t, std::less<>> attributesDeclared; // by element
    std::optional<ParseError> firstError;
    std::string refusal; // why the parse was stopped, without the file's name
};

ParseWatch& watchOf(void* context) {
    return *static_cast<ParseWatch*>(static_cast<xmlParserCtxt*>(context)->_private);
}

std::string moreThanAnyProfilesFile(std::string_view what) {
    return std::string(what) + ", more than any profiles file holds, so the file is not read.";
}

const std::string& tooManyAttributesPerElement() {
    static const std::string text = moreThanAnyProfilesFile(
        "an element carries more than " + std::to_string(kMaxAttributesPerElement) + " attributes");
    return text;
}

void refuse(void* context, const std::string& why) {
    ParseWatch& watch = watchOf(context);
    if (watch.refusal.empty()) {
        watch.refusal = why;
    }
    xmlStopParser(static_cast<xmlParserCtxt*>(context));
}

// Some libxml2 versions take a NUL byte after the root element for the end of
// the input and silently drop whatever follows it, so the parser must have
// read its input to the end. That is checked at the document's end: the input
// is still open there (newer versions close it before the read returns), and
// it holds decoded text, so a NUL character in a UTF-16 file counts while the
// NUL bytes of the encoding itself do not.
void endDocumentCheckingTheInputEnd(void* userData) {
    auto* context = static_cast<xmlParserCtxt*>(userData);
    xmlSAX2EndDocument(context);
    DocumentEnd& end = watchOf(context).end;
    const xmlParserInput* input = context->input;
    end.reached = true;
    end.inputLeft = input == nullptr || input->cur != input->end;
    end.line = input != nullptr ? input->line : 0;
}

// Counts what the element carries, its default attributes and namespace
// declarations included, before the tree gets it.
void startElementWatched(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                         int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaulted,
                         const xmlChar** attributes) {
    ParseWatch& watch = watchOf(context);
    const auto declared = static_cast<std::size_t>(namespaceCount);
    const std::size_t carried = static_cast<std::size_t>(attributeCount) + declared;
    watch.attributesInAll += carried;
    watch.namespacesInScope += declared;
    watch.namespacesOpened.push_back(declared);
    if (carried > kMaxAttributesPerElement) {
        refuse(context, tooManyAttributesPerElement());
    } else if (watch.attributesInAll > kMaxAttributesPerFile) {
        refuse(context,
               moreThanAnyProfilesFile("the elements carry more than " +
                                       std::to_string(kMaxAttributesPerFile) + " attributes in all"));
    } else if (watch.namespacesInScope > kMaxNamespacesInScope) {
        refuse(context, moreThanAnyProfilesFile("more than " + std::to_string(kMaxNamespacesInScope) +
                                                " namespaces are declared around an element"));
    } else {
        xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount,
                              defaulted, attributes);
    }
}

void endElementWatched(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri) {
    ParseWatch& watch = watchOf(context);
    if (!watch.namespacesOpened.empty()) {
        watch.namespacesInScope -= watch.namespacesOpened.back();
        watch.namespacesOpened.pop_back();
    }
    xmlSAX2EndElementNs(context, localName, prefix, uri);
}

// Every attribute the document type declares for an element may come with a
// default, which each use of the element carries: they count as its own,
// from however many declarations they come.
void attributeDeclarationWatched(void* context, const xmlChar* element, const xmlChar* name, int type,
                                 int presence, const xmlChar* defaultValue, xmlEnumeration* values) {
    xmlSAX2AttributeDecl(context, element, name, type, presence, defaultValue, values);
    auto& declared = watchOf(context).attributesDeclared;
    const std::string_view elementName = reinterpret_cast<const char*>(element);
    auto found = declared.find(elementName);
    if (found == declared.end()) {
        found = declared.emplace(elementName, 0).first;
    }
    if (++found->second > kMaxAttributesPerElement) {
        refuse(context, tooManyAttributesPerElement());
    }
}

void noteFirstError(void* context, xmlError* error) {
    ParseWatch& watch = watchOf(context);
    if (error->level == XML_ERR_FATAL && !watch.firstError) {
        watch.firstError = firstErrorOf(error);
    }
}

// The file's bytes handed to the parser a piece at a time. After the first
// error none more are: libxml2 goes on through the rest of its input after an
// error, with the counting above no longer called, so what it may still do is
// bounded by what it already holds. The error reported is that first one, not
// the end of the input that follows it.
struct ByteSource {
    std::string_view bytes;
    std::size_t offset = 0;
    const xmlParserCtxt* context = nullptr;
};

int readSource(void* source, char* buffer, int length) {
    auto* from = static_cast<ByteSource*>(source);
    if (!from->context->wellFormed || from->context->disableSAX != 0 || length <= 0) {
        return 0;
    }
    const std::size_t size = std::min(static_cast<std::size_t>(length), from->bytes.size() - from->offset);
    std::memcpy(buffer, from->bytes.data() + from->offset, size);
    from->offset += size;
    return static_cast<int>(size);
}

// --- The scan before the parse.
//
// libxml2 checks each attribute of an element against all those before it,
// and an entity's text is parsed where it is used, so the attributes of one
// element must be counted before libxml2 sees them. The scan reads the
// markup as ASCII text: the file's bytes in UTF-8 and the single-byte code
// pages, or one character per unit of UTF-16.

struct MarkupForm {
    std::string_view start;
    enum Kind { Bytes, Utf16LittleEndian, Utf16BigEndian, Unreadable } kind;
};

// As libxml2 recognises a file's encoding from its first bytes. UCS-4 and
// EBCDIC files are not read: a Windows build cannot read them at all.
constexpr MarkupForm kForms[] = {
    {{"\0\0\0<", 4}, MarkupForm::Unreadable},       {{"<\0\0\0", 4}, MarkupForm::Unreadable},
    {{"\0\0<\0", 4}, MarkupForm::Unreadable},       {{"\0<\0\0", 4}, MarkupForm::Unreadable},
    {"\x4C\x6F\xA7\x94", MarkupForm::Unreadable},   {{"\0<\0?", 4}, MarkupForm::Utf16BigEndian},
    {{"<\0?\0", 4}, MarkupForm::Utf16LittleEndian}, {"\xEF\xBB\xBF", MarkupForm::Bytes},
    {"\xFE\xFF", MarkupForm::Utf16BigEndian},       {"\xFF\xFE", MarkupForm::Utf16LittleEndian},
};

MarkupForm::Kind formOf(std::string_view bytes) {
    for (const MarkupForm& form : kForms) {
        if (bytes.starts_with(form.start)) {
            return form.kind;
        }
    }
    return MarkupForm::Bytes;
}

// UTF-16 as ASCII text, each other character a byte of no markup.
std::string asciiOfUtf16(std::string_view bytes, bool bigEndian) {
    std::string text(bytes.size() / 2, '\x80');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char high = bytes[2 * i + (bigEndian ? 0 : 1)];
        const char low = bytes[2 * i + (bigEndian ? 1 : 0)];
        if (high == '\0' && static_cast<unsigned char>(low) < 0x80) {
            text[i] = low;
        }
    }
    return text;
}

// The encodings the XML declaration names, wherever "encoding" stands in it,
// so that no way of reading the declaration gives one not checked.
std::vector<std::string> declaredEncodings(std::string_view text) {
    std::vector<std::string> names;
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\x80"}) { // UTF-8's and UTF-16's byte-order mark
        if (text.starts_with(mark)) {
            text.remove_prefix(mark.size());
        }
    }
    if (!text.starts_with("<?xml")) {
        return names;
    }
    text = text.substr(0, text.find("?>"));
    for (std::size_t at = text.find("encoding"); at != std::string_view::npos;
         at = text.find("encoding", at + 1)) {
        std::size_t value = text.find_first_not_of(" \t\r\n", at + 8);
        if (value < text.size() && text[value] == '=') {
            value = text.find_first_not_of(" \t\r\n", value + 1);
        }
        const char quote = value < text.size() ? text[value] : '\0';
        const std::size_t close = quote == '"' || quote == '\'' ? text.find(quote, value + 1) : value;
        names.emplace_back(text.substr(value + 1, close == std::string_view::npos ? 0 : close - value - 1));
    }
    return names;
}

// Whether libxml2 reads each character of markup in the encoding as the
// ASCII character it is, as it does in KOI8-R or Shift_JIS and not in UTF-7
// or EBCDIC. The 7-bit encodings that shift into other sets (ISO-2022, HZ)
// read plain ASCII as itself yet hide markup characters in their shifts.
bool libxmlReadsMarkupAsAscii(const std::string& lower) {
    if (lower.find("2022") != std::string::npos || lower.starts_with("hz")) {
        return false;
    }
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(lower.c_str());
    if (handler == nullptr) {
        return false;
    }
    constexpr std::string_view kMarkup =
        "<?xml version=\"1.0\" encoding='x'?><!DOCTYPE [<!ATTLIST a b CDATA #IMPLIED>]>"
        "<!-- + --><Profiles xmlns:p=\"u\"><p:a_b-c.d=\"&#59;%\"/>\t\r\n"
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    xmlBufferPtr in = xmlBufferCreate();
    xmlBufferPtr out = xmlBufferCreate();
    bool same = false;
    if (in != nullptr && out != nullptr &&
        xmlBufferAdd(in, reinterpret_cast<const xmlChar*>(kMarkup.data()),
                     static_cast<int>(kMarkup.size())) == 0 &&
        xmlCharEncInFunc(handler, out, in) >= 0) {
        same = std::string_view(reinterpret_cast<const char*>(xmlBufferContent(out)),
                                static_cast<std::size_t>(xmlBufferLength(out))) == kMarkup;
    }
    xmlBufferFree(in);
    xmlBufferFree(out);
    xmlCharEncCloseFunc(handler);
    return same;
}

// The encodings in which the scan reads every character of markup as
// itself: ASCII, the ISO-8859 and Windows code pages that extend it, and
// whatever else libxml2 reads so (none, where it has no iconv).
bool readsAsAscii(std::string_view name) {
    const std::string lower = toLowerAscii(name);
    if (codePageByName(lower) || lower == "us-ascii" || lower == "ascii") {
        return true;
    }
    const std::string_view number = std::string_view(lower).substr(lower.starts_with("iso-8859-") ? 9 : 0);
    if (number.size() != lower.size() && !number.empty() && number.size() <= 2 &&
        number.find_first_not_of("0123456789") == std::string_view::npos) {
        return true;
    }
    return libxmlReadsMarkupAsAscii(lower);
}

bool readsAsUtf16(std::string_view name, MarkupForm::Kind kind) {
    const std::string lower = toLowerAscii(name);
    return lower == "utf-16" || lower == "utf16" ||
           lower == (kind == MarkupForm::Utf16BigEndian ? "utf-16be" : "utf-16le");
}

// An encoding named by the file, as a message may show it.
std::string shownEncoding(std::string_view name) {
    std::string shown(name.substr(0, 40));
    for (char& c : shown) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.' && c != ':') {
            c = '?';
        }
    }
    return shown;
}

// The text the scan reads, or why the file cannot be scanned.
struct ScanText {
    std::string_view text;
    std::string storage; // the ASCII text of a UTF-16 file
    std::string refusal;
};

ScanText scanTextOf(std::string_view bytes) {
    ScanText scan;
    const MarkupForm::Kind kind = formOf(bytes);
    if (kind == MarkupForm::Unreadable) {
        scan.refusal = "the file is in UCS-4 or EBCDIC, which TAVU does not read; save it as UTF-8.";
        return scan;
    }
    if (kind == MarkupForm::Bytes) {
        scan.text = bytes;
    } else {
        scan.storage = asciiOfUtf16(bytes, kind == MarkupForm::Utf16BigEndian);
        scan.text = scan.storage;
    }
    for (const std::string& name : declaredEncodings(scan.text)) {
        if (kind == MarkupForm::Bytes ? !readsAsAscii(name) : !readsAsUtf16(name, kind)) {
            scan.refusal = "the file is in the encoding \"" + shownEncoding(name) +
                           "\", which TAVU does not read; save it as UTF-8.";
        }
    }
    return scan;
}

// Where `terminator` next ends at or after `at`; the text's end when nowhere.
std::size_t after(std::string_view text, std::size_t at, std::string_view terminator) {
    const std::size_t found = text.find(terminator, at);
    return found == std::string_view::npos ? text.size() : found + terminator.size();
}

// Moves `at` past the comment, CDATA section or processing instruction that
// starts there; false when none does.
bool skipUncountedMarkup(std::string_view text, std::size_t& at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
        at = after(text, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
        at = after(text, at + 9, "]]>");
    } else if (rest.starts_with("<?")) {
        at = after(text, at + 2, "?>");
    } else {
        return false;
    }
    return true;
}

// The attributes of a start tag, which holds no "<" after its first: each
// "=" outside the quoted values, up to the ">" that ends it.
std::size_t countAttributes(std::string_view tag) {
    std::size_t count = 0;
    char quote = '\0';
    for (const char c : tag) {
        if (quote != '\0') {
            quote = c == quote ? '\0' : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        } else {
            count += c == '=' ? 1 : 0;
        }
    }
    return count;
}

// The same for a declaration ("<!DOCTYPE", "<!ENTITY", ...), whose quoted
// text may be an entity's, holding a start tag written with "=" or character
// references: both count wherever they stand, up to the ">" outside quotes.
// The comments and processing instructions of a DTD's internal subset are
// passed over; a "<!--" in quoted text starts none.
std::size_t countDeclarationAttributes(std::string_view text, std::size_t& at) {
    std::size_t count = 0;
    char quote = '\0';
    for (at += 2; at < text.size() && count <= kMaxAttributesPerElement;) {
        const char c = text[at];
        if (quote == '\0' && c == '<' && skipUncountedMarkup(text, at)) {
            continue;
        }
        if (c == '=' || text.substr(at).starts_with("&#")) {
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

// No attribute is shorter than a="", so a start tag that reaches no further
// than this before the next "<" (where libxml2 ends a tag at the latest)
// carries a dozen at most: only longer ones are read through, and finding
// each "<" is all the scan does for the others.
constexpr std::size_t kLongestUncountedTag = 64;

// What the scan finds too much of; nothing when the file may be parsed.
std::optional<std::string> attributesRefused(std::string_view text) {
    std::size_t pairs = 0;
    for (std::size_t at = text.find('<'); at < text.size(); at = text.find('<', at)) {
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if ((next == '!' || next == '?') && skipUncountedMarkup(text, at)) {
            continue;
        }
        std::size_t count = 0;
        if (next == '!') {
            count = countDeclarationAttributes(text, at);
        } else {
            const std::size_t end = std::min(text.find('<', at + 1), text.size());
            count = end - at > kLongestUncountedTag ? countAttributes(text.substr(at, end - at)) : 0;
            at = end;
        }
        pairs += count * (count - (count > 0 ? 1 : 0)) / 2;
        if (count > kMaxAttributesPerElement) {
            return tooManyAttributesPerElement();
        }
        if (pairs > kMaxAttributePairs) {
            return moreThanAnyProfilesFile("elements carry hundreds of attributes each");
        }
    }
    return std::nullopt;
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

// libxml2's SAX2 handlers, the counting ones in their places.
void watchWhileParsing(xmlSAXHandler& handler) {
    handler.endDocument = endDocumentCheckingTheInputEnd;
    handler.startElementNs = startElementWatched;
    handler.endElementNs = endElementWatched;
    handler.attributeDecl = attributeDeclarationWatched;
    handler.serror = noteFirstError;
}

Result<XmlDocumentPtr, Unreadable> parseXml(std::string_view bytes, const std::string& name) {
    configureLibxmlOnce();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return Unreadable{name + ": the file is too large to read."};
    }
    const ScanText scan = scanTextOf(bytes);
    if (!scan.refusal.empty()) {
        return Unreadable{name + ": " + scan.refusal};
    }
    if (const auto refused = attributesRefused(scan.text)) {
        return Unreadable{name + ": " + *refused};
    }
    std::unique_ptr<xmlParserCtxt, ParserContextDeleter> context(xmlNewParserCtxt());
    if (!context) {
        return Unreadable{name + ": out of memory."};
    }
    // No XML_PARSE_HUGE: libxml2 keeps its limits on depth, text size and entity
    // expansion. No XML_PARSE_DTDLOAD, and NONET on top of the refusing loader.
    constexpr int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                            XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    ParseWatch watch;
    context->_private = &watch;
    watchWhileParsing(*context->sax);
    ByteSource source{bytes, 0, context.get()};
    XmlDocumentPtr document(
        xmlCtxtReadIO(context.get(), readSource, nullptr, &source, nullptr, nullptr, options));
    if (!watch.refusal.empty()) {
        return Unreadable{name + ": " + watch.refusal};
    }
    if (!document || !context->wellFormed) {
        return Unreadable{describe(
            watch.firstError ? watch.firstError : firstErrorOf(xmlCtxtGetLastError(context.get())), name)};
    }
    // Worded as libxml2 words any other content after the root element.
    if (!watch.end.reached || watch.end.inputLeft || source.offset != bytes.size()) {
        return Unreadable{placed(name, watch.end.line, "Extra content at the end of the document")};
    }
    return document;
}

XmlElement documentElement(const _xmlDoc* document) {
    return XmlElement(document ? xmlDocGetRootElement(const_cast<xmlDoc*>(document)) : nullptr);
}

} // namespace tavu
