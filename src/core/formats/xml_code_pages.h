#pragma once

namespace tavu {

// Teaches libxml2 the code pages it cannot read by itself. A libxml2 built
// without iconv (as for Windows, which has none) reads only UTF-8, UTF-16 and
// the ISO 8859 family; profiles files written in windows-1250, windows-1251 or
// windows-1252 then read through the core's own tables. Called once, before any parse.
void addMissingXmlCodePages();

} // namespace tavu
