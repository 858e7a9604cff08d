#include "formats/xml_code_pages.h"

#include "formats/code_page.h"

#include <libxml/encoding.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <string_view>

namespace tavu {

#if !defined(LIBXML_ICONV_ENABLED) && !defined(LIBXML_ICU_ENABLED)

namespace {

// Decodes as much of `in` as fits in `out`, whole characters only: the number
// of bytes written, with `outLength` and `inLength` set to what was used, or -2
// at a byte the code page leaves unassigned (libxml2's transcoding error).
template <CodePage page>
int decode(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    int written = 0;
    int used = 0;
    for (; used < *inLength; ++used) {
        const Conversion character =
            decodeToUtf8(std::string_view(reinterpret_cast<const char*>(in + used), 1), page);
        if (character.failure) {
            *outLength = written;
            *inLength = used;
            return -2;
        }
        if (written + static_cast<int>(character.bytes.size()) > *outLength) {
            break;
        }
        std::copy(character.bytes.begin(), character.bytes.end(), out + written);
        written += static_cast<int>(character.bytes.size());
    }
    *outLength = written;
    *inLength = used;
    return written;
}

template <CodePage page>
void addDecoder() {
    const std::string name(codePageName(page));
    // Registered by libxml2 itself, which keeps it to the end of the process.
    xmlNewCharEncodingHandler(name.c_str(), decode<page>, nullptr);
}

} // namespace

void addMissingXmlCodePages() {
    addDecoder<CodePage::Windows1250>();
    addDecoder<CodePage::Windows1251>();
    addDecoder<CodePage::Windows1252>();
}

#else

void addMissingXmlCodePages() {}

#endif

} // namespace tavu
