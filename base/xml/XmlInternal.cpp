// Shared helpers of the XML layer: UTF-8 conversions, qualified names, node
// text and the one place where text becomes a parsed document.

#include "base/xml/XmlInternal.h"
#include "base/xml/XmlLoad.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>

#include "base/text/LowBytes.h"

#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "base/xml/XmlEntityLoader.h"
#include <libxml/xmlstring.h>

void XmlFromUtf8(const xmlChar* utf8, CSafeBuf& out)
{
    out.Empty();
    if (utf8 && *utf8)
        out.AssignUTF8(reinterpret_cast<const unsigned char*>(utf8));
}

bool XmlIsNode(const xmlNode* node) { return node != nullptr && node->type != XML_NAMESPACE_DECL; }

std::string XmlQualifiedName(const xmlNode* node)
{
    std::string out;
    if (!XmlIsNode(node) || node->name == nullptr)
        return out;
    // Only elements and attributes carry a namespace; other node kinds reuse
    // the field or leave it null.
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns != nullptr
        && node->ns->prefix != nullptr) {
        out = reinterpret_cast<const char*>(node->ns->prefix);
        out += ':';
    }
    out += reinterpret_cast<const char*>(node->name);
    return out;
}

void XmlNodeText(const xmlNode* node, CSafeBuf& out)
{
    out.Empty();
    if (!XmlIsNode(node) || node->type == XML_ENTITY_REF_NODE)
        return;
    const xmlNode* child = node->children;
    if (child && (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE))
        XmlFromUtf8(child->content, out);
}

void XmlFormatError(const xmlError* err, CSafeBuf& out)
{
    out = "Incorrect XML<br />Reason: ";
    if (err && err->message) {
        CSafeBuf message;
        message.AssignUTF8(err->message);
        out += message;
    }
    out += "<br />Line: ";
    out.AppendInt(static_cast<long>(err ? err->line : 0));
}

namespace {

// Parser errors are not printed. The first error (not a warning) is kept in
// the record that the context's _private field points to: it names the real
// cause, where the library's own record ends with the last consequence
// ("Premature end of data ...").
void KeepFirstError(void* data, xmlErrorPtr err)
{
    xmlParserCtxtPtr ctxt = static_cast<xmlParserCtxtPtr>(data);
    if (!ctxt || !err || err->level < XML_ERR_ERROR)
        return;
    xmlError* first = static_cast<xmlError*>(ctxt->_private);
    if (first && first->code == XML_ERR_OK)
        xmlCopyError(err, first);
}

// Whether one of encoding='UTF-8', encoding='utf-8', encoding="UTF-8" and
// encoding="utf-8" occurs in the text (one pass over it).
bool DeclaresUtf8(const unsigned short* text)
{
    for (const unsigned short* at = U16str(text, "encoding="); at; at = U16str(at + 1, "encoding=")) {
        const unsigned short* value = at + 9;
        const unsigned short quote = value[0];
        if ((quote == '\'' || quote == '"')
            && (U16ncmp(value + 1, "UTF-8", 5) == 0 || U16ncmp(value + 1, "utf-8", 5) == 0)
            && value[6] == quote)
            return true;
    }
    return false;
}

} // namespace

XmlQuietContext::XmlQuietContext()
{
    XmlInstallEntityLoader();
    m_first = {};
    m_ctxt = xmlNewParserCtxt();
    if (m_ctxt && m_ctxt->sax) {
        m_ctxt->sax->serror = KeepFirstError;
        m_ctxt->userData = m_ctxt;
        m_ctxt->_private = &m_first;
    }
}

XmlQuietContext::~XmlQuietContext()
{
    if (m_ctxt)
        xmlFreeParserCtxt(m_ctxt);
    xmlResetError(&m_first);
}

const xmlError* XmlQuietContext::Error() const
{
    if (m_first.code != XML_ERR_OK)
        return &m_first;
    if (m_ctxt && m_ctxt->lastError.code != XML_ERR_OK)
        return &m_ctxt->lastError;
    return nullptr;
}

std::string XmlTextBytes(const unsigned short* text)
{
    return XmlTextBytes(text, static_cast<size_t>(U16len(text)));
}

std::string XmlTextBytes(const unsigned short* text, size_t length)
{
    static const unsigned short empty[1] = {0};
    if (!text) {
        text = empty;
        length = 0;
    }
    const int n = static_cast<int>(length);

    std::string bytes;
    if (n >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF) {
        bytes = LowBytes(text + 3, n - 3);
    } else {
        int skip = 0;
        if (n >= 1 && text[0] == 0xFEFF)
            skip = 1;
        else if (n >= 2 && ((text[0] == 0xFF && text[1] == 0xFE) || (text[0] == 0xFE && text[1] == 0xFF)))
            skip = 2;
        const unsigned short* rest = text + skip;
        const int count = n - skip;
        // A text of ASCII is its own UTF-8; one of units up to 0xFF that
        // declares UTF-8 holds UTF-8 bytes one to a unit; anything else is
        // encoded. The units are narrowed in the pass that finds the widest
        // (one pass the compiler can run many units at a time): a text to
        // encode then made its low bytes for nothing, which costs less than
        // a second pass over every other text.
        bytes.resize(static_cast<size_t>(count));
        unsigned widest = 0;
        if (count > 0) {
            char* out = &bytes[0];
            for (int i = 0; i < count; ++i) {
                widest |= rest[i];
                out[i] = static_cast<char>(LowByte(rest[i]));
            }
        }
        const bool narrow = widest < 0x80 || (NarrowsExactly(widest) && DeclaresUtf8(rest));
        // Units that declare UTF-8 but are no UTF-8 bytes ("caf\u00E9" as
        // characters) are characters after all.
        if (!narrow || (widest >= 0x80 && !xmlCheckUTF8(reinterpret_cast<const xmlChar*>(bytes.c_str()))))
            bytes = ToUTF8String(rest, count);
    }
    return bytes;
}

namespace {
xmlDoc* ParseText(const unsigned short* text, CSafeBuf* error, bool clearError, int extraOptions)
{
    if (error)
        error->Empty();
    const std::string bytes = XmlTextBytes(text);
    return XmlParseBytes(bytes.data(), bytes.size(), error, clearError, extraOptions);
}
} // namespace

xmlDoc* XmlParseBytes(const char* bytes, size_t size, CSafeBuf* error, bool clearError, int extraOptions)
{
    if (error)
        error->Empty();
    if (size > static_cast<size_t>(INT_MAX)) {
        // The parser counts in int.
        if (error) {
            std::string message = "the text is too large\n";
            xmlError err = {};
            err.message = &message[0];
            XmlFormatError(&err, *error);
        }
        return nullptr;
    }
    static const char empty = 0;
    if (!bytes || !size) {
        bytes = &empty;
        size = 0;
    }
    XmlQuietContext quiet;
    xmlParserCtxtPtr ctxt = quiet.Get();
    if (!ctxt)
        return nullptr;
    xmlDoc* doc = xmlCtxtReadMemory(
        ctxt, bytes, static_cast<int>(size), "noname.xml", "UTF-8", XML_PARSE_NONET | extraOptions);
    if (!doc) {
        const xmlError* err = quiet.Error();
        if (error && err)
            XmlFormatError(err, *error);
    }
    if (clearError)
        xmlResetLastError();
    return doc;
}

xmlDoc* XmlParseText(const unsigned short* text, CSafeBuf* error, bool clearError, int extraOptions)
{
    try {
        return ParseText(text, error, clearError, extraOptions);
    } catch (...) {
        return nullptr; // out of memory while converting the text
    }
}
