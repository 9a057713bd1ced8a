#pragma once
// A whole XHTML document, or a fragment of one, read from UTF-8 bytes into
// an element tree through the reader and the tree repair, and written back.
//
// Whole documents (root html or body): the tree is the body; the html start
// tag and the html element's other children (the head ...) are kept as
// markup and written around the body. An html element without a body gets
// one, which takes its content (everything from the first child that is
// neither a part of the head nor a comment); it is written as that body.
// What stands before the root (the XML declaration, the DOCTYPE, comments)
// is kept as written. A fragment (anything else: a run of paragraphs, a bare
// text) is read as the content of a body and written back as that content;
// comments before its DOCTYPE stay in what stands before it.
//
// Named XHTML references are read through PrepareMarkupEntities; references
// to the entities that the document declares itself are read as their text
// and elements (XmlExpandEntities), within MarkupEntityBudget: a document
// whose entities expand further is refused like malformed markup. Bytes that
// start with a UTF-16 byte-order mark are decoded from UTF-16 first (the XML
// declaration is kept as written). The bytes go to the parser as UTF-8
// whatever the document declares, so bytes that are not UTF-8 are reported
// by the XML layer like any other malformed markup.

#include "base/text/SafeBuf.h"
#include "base/xml/XmlPushParse.h"

#include <cstddef>
#include <string>
#include <vector>

class CElement;
class CXHTMLServices;
struct _xmlNode;

class CMarkupDocument
{
public:
    // Elements are made with owner (may be null); the tree is this object's.
    explicit CMarkupDocument(CXHTMLServices* owner);
    ~CMarkupDocument();
    CMarkupDocument(const CMarkupDocument&) = delete;
    CMarkupDocument& operator=(const CMarkupDocument&) = delete;

    // Replaces the tree with the one read from bytes. False, with the XML
    // layer's error text in error and no tree, when they do not parse (an
    // empty text does not).
    bool Read(const char* bytes, size_t size, CSafeBuf& error);
    // The markup with the writer's flags (0x1 indented). Empty without a tree.
    void Write(CSafeBuf& out, int flags) const;

    CElement* Body() const { return m_body; }
    bool IsWholeDocument() const { return m_whole; }

    // How many bytes of markup the parser takes at a time while the body is
    // read from what it has made so far: the parsed nodes are read and
    // freed while they are fresh, never a whole document's worth at once.
    // 0 parses the whole markup before reading it; the tree is the same.
    void SetParsePiece(size_t bytes) { m_parsePiece = bytes; }

private:
    void Clear();
    // The html start tag and the markup of html's children beside the body;
    // the body (its first body child), or null.
    _xmlNode* KeepBesideBody(_xmlNode* html);
    // Makes the body and reads bodyNode (may be null) into it; parse, when
    // given, is still making bodyNode.
    void ReadBody(_xmlNode* bodyNode, size_t estimate, CXmlPushParse* parse);
    // The read with the body taken while the markup is parsed. False, with
    // nothing read, for markup to be read from its whole parse instead
    // (malformed markup included, whose error that parse reports).
    bool ReadAsParsed(const char* markup, size_t length, size_t size, bool fragment,
        const std::string& prolog, size_t estimate);

    CXHTMLServices* m_owner;
    CElement* m_body = nullptr;
    bool m_whole = false;
    CSafeBuf m_prolog;              // what stood before the root (XML declaration, DOCTYPE ...), as written
    CSafeBuf m_htmlStart;           // "<html ...>", empty for a body root or a fragment
    CSafeBuf m_htmlEnd;             // the end tag that closes it
    std::vector<CSafeBuf> m_before; // the html element's other children before the body, as markup
    std::vector<CSafeBuf> m_after;  // and after it
    size_t m_parsePiece = CXmlPushParse::kPieceBytes;
};

// The start tag of a parsed element as markup: "<", its qualified name, its
// namespace declarations and its attributes (values escaped), ">"; end
// receives the end tag that closes it ("</html>", or "</h:html>" for a
// prefixed one).
void ElementStartTag(_xmlNode* element, CSafeBuf& start, CSafeBuf& end);

// About as many elements as the markup of n bytes at s makes, text runs
// included: one a tag, as text between tags stands for about as many as the
// end tags counted, and a quarter more for what the read adds (paragraphs
// around loose content, table bodies ...). What a registry is made ready
// for before a read.
size_t ElementEstimate(const char* s, size_t n);
