#include "base/xml/XmlPushParse.h"

#include "base/xml/XmlInternal.h"

#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>

CXmlPushParse::CXmlPushParse(const char* bytes, size_t size, size_t pieceBytes)
    : m_bytes(bytes), m_size(size), m_piece(pieceBytes ? pieceBytes : kPieceBytes)
{
    // The parser counts in int, as the parse of the whole markup does.
    if (!bytes || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        m_ended = true;
        return;
    }
    // The layer's quiet context, turned into one that takes its markup in
    // pieces.
    m_quiet = std::make_unique<XmlQuietContext>();
    xmlParserCtxt* ctxt = m_quiet->Get();
    if (!ctxt || xmlCtxtResetPush(ctxt, nullptr, 0, "noname.xml", "UTF-8") != 0) {
        m_ended = true;
        return;
    }
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET);
    m_ctxt = ctxt;
}

CXmlPushParse::~CXmlPushParse()
{
    if (m_ctxt && m_ctxt->myDoc) {
        xmlFreeDoc(m_ctxt->myDoc);
        m_ctxt->myDoc = nullptr;
    }
}

bool CXmlPushParse::More()
{
    if (m_ended)
        return false;
    const size_t n = std::min(m_piece, m_size - m_at);
    const bool last = m_at + n == m_size;
    xmlParseChunk(m_ctxt, m_bytes + m_at, static_cast<int>(n), last ? 1 : 0);
    m_at += n;
    // A document that is not well-formed is not read whatever follows.
    if (last || !m_ctxt->wellFormed || m_ctxt->instate == XML_PARSER_EOF)
        m_ended = true;
    return true;
}

bool CXmlPushParse::Ended() const { return m_ended; }

xmlDoc* CXmlPushParse::Doc() const { return m_ctxt ? m_ctxt->myDoc : nullptr; }

bool CXmlPushParse::IsOpen(const xmlNode* n) const
{
    if (m_ended || !n)
        return false;
    for (const xmlNode* open = m_ctxt->node; open; open = open->parent) {
        if (open == n)
            return true;
    }
    return false;
}

xmlDoc* CXmlPushParse::Finish()
{
    if (!m_ctxt)
        return nullptr;
    if (!m_ended) {
        xmlParseChunk(m_ctxt, m_bytes + m_at, static_cast<int>(m_size - m_at), 1);
        m_at = m_size;
        m_ended = true;
    }
    if (!m_ctxt->wellFormed || !m_ctxt->myDoc)
        return nullptr;
    xmlDoc* doc = m_ctxt->myDoc;
    m_ctxt->myDoc = nullptr;
    return doc;
}
