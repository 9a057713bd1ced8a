#pragma once
// A document parsed from text for the length of a scope: the load error
// text (if any) is kept beside it, and the document is released at the end.

#include "base/text/SafeBuf.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNavigate.h"
#include "base/xml/XmlNodeValue.h"

#include "tests/common/TextHelpers.h"

namespace qmtest {

struct XmlDoc
{
    // Parses the text as LoadXMLString does; doc is null when it fails.
    explicit XmlDoc(const CSafeBuf& text) : doc(LoadXMLString(text, &error)) { }
    explicit XmlDoc(const char* utf8) : XmlDoc(FromUtf8(utf8)) { }
    ~XmlDoc() { XMLReleaseDom(doc); }
    XmlDoc(const XmlDoc&) = delete;
    XmlDoc& operator=(const XmlDoc&) = delete;

    xmlNode* Root() const { return GetRootElement(doc); }
    // The root element's value, as GetNameValue gives it.
    CSafeBuf RootValue() const
    {
        CSafeBuf name, value;
        GetNameValue(Root(), name, value);
        return value;
    }

    CSafeBuf error; // declared first: the load fills it
    xmlDoc* doc;
};

} // namespace qmtest
