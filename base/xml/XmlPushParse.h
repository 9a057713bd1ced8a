#pragma once
// CXmlPushParse: UTF-8 markup parsed a piece at a time into a document tree,
// so that a reader can take the nodes as they are made and free them while
// they are still in the caches, instead of walking a tree of the whole
// markup built first. The parse follows the rules of LoadXMLBytes (UTF-8
// whatever the markup declares, no network, nothing printed), but reports
// no error text: a caller that needs one parses again with LoadXMLBytes.
//
// Nodes that the parser has closed may be read, unlinked and freed between
// pieces, except the last child of an open element (the parser may still
// append text to it).

#include <cstddef>
#include <memory>

struct _xmlDoc;
struct _xmlNode;
struct _xmlParserCtxt;
class XmlQuietContext;

class CXmlPushParse
{
public:
    // How many bytes the parser takes at a time unless told otherwise.
    static constexpr size_t kPieceBytes = 4 * 1024;

    // The markup must outlive the parse; pieceBytes 0 takes kPieceBytes.
    CXmlPushParse(const char* bytes, size_t size, size_t pieceBytes = 0);
    ~CXmlPushParse();
    CXmlPushParse(const CXmlPushParse&) = delete;
    CXmlPushParse& operator=(const CXmlPushParse&) = delete;

    // Parses the next piece. False when there was nothing left to parse or
    // the parse has stopped at an error.
    bool More();
    // Whether the parse has stopped: all parsed, or an error met.
    bool Ended() const;
    // The tree made so far (null before the first element, or when no
    // parser could be made).
    _xmlDoc* Doc() const;
    // Whether n is an element the parser has opened and not yet closed.
    bool IsOpen(const _xmlNode* n) const;
    // Parses the rest. The document when the whole markup was well-formed
    // (the caller then owns it), else null.
    _xmlDoc* Finish();

private:
    std::unique_ptr<XmlQuietContext> m_quiet;
    _xmlParserCtxt* m_ctxt = nullptr; // m_quiet's, once it parses in pieces
    const char* m_bytes;
    size_t m_size;
    size_t m_piece;
    size_t m_at = 0;
    bool m_ended = false;
};
