#pragma once
// Whether written or cleaned markup is well-formed XML, the way a reader of
// the editor's output takes it: a whole document as it is, a fragment as the
// content of a body element. Empty text is an empty fragment.

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"

#include <string>

namespace qmfuzz {

inline bool ParsesAsXml(const std::string& bytes)
{
    xmlDoc* doc = LoadXMLBytes(bytes.data(), bytes.size(), nullptr, true);
    XMLReleaseDom(doc);
    return doc != nullptr;
}

inline std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", n > 0 ? static_cast<size_t>(n) : 0);
    delete[] bytes;
    return out;
}

inline bool ParsesInsideBody(const CSafeBuf& markup)
{
    return ParsesAsXml("<body>" + Utf8(markup) + "</body>");
}

// A fragment inside a body, or a whole document as it stands.
inline bool ParsesAsMarkup(const CSafeBuf& markup)
{
    return ParsesInsideBody(markup) || ParsesAsXml(Utf8(markup));
}

} // namespace qmfuzz
