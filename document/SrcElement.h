#pragma once
// CSrcElement: a light tree of markup nodes, apart from the document's
// element tree. It carries tag names, attributes, text and children, and no
// layout or style. A tree is short-lived: the markup cleaner (CXDoc::
// CleanXHTML) and the writer's tidy pass make a root named "body", load
// markup into it (LoadDoc), reshape it with the passes declared below and
// write it back (GetSourceCode), all inside one call.
//
// A node is a text node when its tag is empty, a comment when its tag is
// "_comment_" (both keep their text in m_text), and an element otherwise.
// A node owns its children, held as a doubly linked list so that the passes
// can unwrap and move nodes in the middle of long child lists in constant
// time; the nodes they hand out stay owned by their parent.
//
// Kinds (ElementType): bit 64 text; else the first of the tag tables that
// holds the tag, tried in this order: BlockTags (2), InlineTags (1), the
// headings (4), ListTags (8), StructTags (16). A tag in none of them is
// "other" (32) plus 2 when the control lists it as a custom block element,
// else 1 when it lists it as a custom inline element, else 2 when a
// descendant is a block (IsThereBlockTypeChild), else 1. The kind is worked
// out once, the first time it is asked for, and kept.
//
// Memory: the nodes a tree makes for itself (reading markup, and the nodes
// the passes add) and their texts live in the tree's arena
// (document/SrcElementArena.h), made by the first node that needs it; a node
// made with new on its own lives on the heap. Either is destroyed with
// delete, and a node may move between trees: an arena lasts while any of its
// nodes does.

#include "base/collections/MapStringToString.h"
#include "base/collections/PtrList.h"
#include "base/collections/StringList.h"
#include "base/text/SafeBuf.h"
#include "document/SrcElementTags.h"
#include "document/SrcElementText.h"

#include <cstddef>
#include <memory>

class CSrcArena;
class CXHTMLServices;
struct SrcReadBuffers;
struct SrcWriteScratch;
struct _xmlNode;
struct _xmlNs;
struct SrcStreamReader;

class CSrcElement
{
public:
    // Kind bits of ElementType.
    static constexpr int kInline = 1;
    static constexpr int kBlock = 2;
    static constexpr int kHeading = 4;
    static constexpr int kList = 8;
    static constexpr int kStructure = 16;
    static constexpr int kOther = 32;
    static constexpr int kText = 64;

    // With a name: the name is looked up in XHTMLTags with ASCII case
    // ignored; a known tag takes the table's (lower-case) form and
    // m_nonXHTML 0, any other keeps its form and gets m_nonXHTML 1. Null
    // makes a text node (empty tag, m_nonXHTML 0). The owner gives access to
    // the control's custom element lists; it may be null (no custom
    // elements).
    explicit CSrcElement(const char* name = nullptr, CXHTMLServices* owner = nullptr);
    explicit CSrcElement(const unsigned short* name, CXHTMLServices* owner = nullptr);
    // A new text node holding text.
    static CSrcElement* NewText(const CSafeBuf& text, CXHTMLServices* owner = nullptr);
    // Destroys the children (and theirs).
    ~CSrcElement();
    CSrcElement(const CSrcElement&) = delete;
    CSrcElement& operator=(const CSrcElement&) = delete;
    // A node made with new lives on the heap; the tree's own nodes in its
    // arena (see the top of the file).
    static void* operator new(size_t size);
    static void* operator new(size_t size, CSrcArena& arena);
    static void operator delete(void* node);
    static void operator delete(void* node, CSrcArena& arena);

    // ---- tag and kind ----
    bool IsTextNode() const { return m_tag.IsEmpty(); }
    bool IsComment() const;
    // The document keeps this element's content as markup text, read with
    // the white space at its ends trimmed and otherwise as written (the form
    // controls, maps, objects).
    bool KeepsContentAsText() const;
    // A script, noscript or style element: it shows no words among the
    // content around it, and the passes keep it whole wherever it stands
    // (unwrapped, a script's code or a style element's rules would show as
    // text; the document keeps style elements in its head).
    bool IsKeptWhole() const;
    // The tag equals name exactly.
    bool IsTag(const char* name) const
    {
        if (!name)
            return false;
        if (m_info) // the table's form, without reaching for the tag's text
            return SameTag(m_info->form, name);
        return m_tag.IsEmpty() ? !*name : SameTag(m_tag, name);
    }
    // This node is a "pre" or stands inside one: its white space is kept as
    // written.
    bool InPre() const;
    // Renames the node as the constructor names it; the kind is worked out
    // again when next asked for.
    void SetTag(const unsigned short* name);
    void SetTag(const char* name);
    int ElementType();
    // Some descendant (depth first) has a kind with none of the bits 1, 32
    // and 64.
    bool IsThereBlockTypeChild();

    // ---- loading and writing ----
    // Fills this node (normally a root "body") from UTF-16 markup. Outside
    // comments and character data sections "&nbsp;" becomes a blank, the
    // other named references of HTML become numeric ones and references no
    // parser here knows are removed; then the text is parsed. A root "body"
    // is read as it is; a root "html" has its start tag and every other node
    // it holds beside its "body" kept as markup (m_document), and its "body"
    // read. False, with no children added, when the text does not parse,
    // holds no body or has a root of another name.
    bool LoadDoc(const unsigned short* text);
    // LoadDoc for markup whose references have been made ready for the
    // parser already (numeric ones and the five of XML): the entity steps
    // are left out, but for a document declaring entities of its own.
    bool LoadPreparedDoc(const unsigned short* markup);
    // LoadDoc with the same answer and the same tree, made from the parser's
    // events as they come rather than from the parser's document tree where
    // the text allows it (see SrcElementStream.cpp): the writer's tidy pass
    // reads its own output this way.
    bool LoadDocStreamed(const unsigned short* text);
    // Appends the attributes (namespace declarations as "xmlns" and
    // "xmlns:prefix") and the children of a parsed element. Comments become
    // "_comment_" nodes, trimmed, unless they start with "Generated by ".
    // Without preserveSpace (it is on inside "pre") a text of white space
    // only is dropped, or becomes one blank when it holds a blank and
    // follows an inline or other element or a text ending in a word (also
    // as the first text inside an inline element that follows one). Line
    // feeds become CR LF. "font" and "center" elements are unwrapped as they
    // are read.
    void SetElement(_xmlNode* node, bool preserveSpace);
    // Writes the node and its subtree into out (cleared first). level is the
    // node's indentation level (its children's is one more: -1 puts a root's
    // children at the margin). Mode bits: 1 indented, 0x10 no children, 0x80 plain text,
    // 0x100 the "body" writes only its content, 0x200 non-ASCII characters
    // as references, 0x1000 comments as "_comment_" elements. flag is handed
    // down unchanged.
    void GetSourceCode(CSafeBuf& out, int level, int mode, bool flag);
    // The same appended to what out holds.
    void AppendSourceCode(CSafeBuf& out, int level, int mode, bool flag);

    // ---- tree operations ----
    CSrcElement* Parent() const { return m_parent; }
    CSrcElement* FirstChild() const { return m_firstChild; }
    CSrcElement* LastChild() const { return m_lastChild; }
    CSrcElement* NextSibling() const { return m_next; }
    CSrcElement* PreviousSibling() const { return m_previous; }
    int GetChildCount() const { return m_childCount; }
    // Adds child (detached, or taken from its parent) at the end.
    void AppendChild(CSrcElement* child);
    // Adds child in front of before (at the end when before is null or not
    // a child of this node).
    void InsertChild(CSrcElement* child, CSrcElement* before);
    // Unlinks a child of this node and destroys it; nothing for a node that
    // is not a child.
    void RemoveChild(CSrcElement* child);
    // Unlinks a child of this node without destroying it; the caller owns
    // it. False for a node that is not a child.
    bool DetachChild(CSrcElement* child);
    // An element source's children move into target's list right after
    // after (at the end for null after), in order, and source is left
    // without children. A text source's text is appended to target's text.
    // When after is not a child of target nothing moves and the answer is
    // false (the children stay with source, so nothing is lost).
    static bool MoveChildrenTo(CSrcElement* source, CSrcElement* target, CSrcElement* after);
    // Puts a child's children in its place and destroys it. Answers the
    // first node that took its place, or else the node that followed it.
    CSrcElement* Unwrap(CSrcElement* child);
    // Trims the text of every node of the subtree.
    void CleanTextElement();
    // The first child with that tag (exact); with deep each child's subtree
    // is searched before the next child.
    CSrcElement* FindChild(const char* name, bool deep) const;
    CSrcElement* FindChild(const unsigned short* name, bool deep) const;
    // Moves the first child with that tag to the front.
    void RelocateChild(const char* name);
    // Appends every descendant, parent before children.
    void GetAllChildren(CPtrList& list) const;
    // Appends every descendant "td", "th" and "caption", not looking inside
    // them.
    void GetCurrentTDs(CPtrList& list) const;
    // Renames every node of the subtree (this one included) named from.
    void ReplaceTag(const char* from, const char* to);
    // The text holds a blank (U+0020).
    static bool IsThereSpace(const unsigned short* text);
    // The text holds a character above code 32.
    static bool IsValidText(const unsigned short* text);
    // For a node with text: true when the text, the caret and selection
    // marker words removed, holds only CR, LF, TAB and blanks; false for an
    // empty text.
    bool AllTextAreWhiteSpace() const;

    // ---- clean-up passes (each over the subtree) ----
    // Children first; removes every child that reports empty: a text node
    // with empty text, or (with flags bit 1) an element without children
    // that is b, i, u, span, em, code, abbr, kbd, strong, or an "a" with
    // neither an "id" nor a "name" value. Answers whether this node reports
    // empty.
    bool RemoveEmptyTag(int flags);
    // RemoveEmptyTag's test of this node, its children already seen to.
    bool ReportsEmpty(int flags) const;
    // Children first; unwraps an "a" without attributes and, with mode 1, a
    // "span" without attributes. Answers whether this node is one.
    bool RemoveTagWithoutAttr(int mode);
    // RemoveTagWithoutAttr(mode) and then RemoveEmptyTag(flags), in one walk:
    // what either pass does to a node depends only on the node and its
    // subtree, so the result is the same.
    void RemoveTagWithoutAttrThenEmptyTag(int mode, int flags);
    // Unwraps every element whose tag (ASCII case ignored) is neither in
    // SupportHTMLTag nor dt or dd. Custom elements the control lists and
    // their subtrees are left alone, and so are comments. Answers whether
    // this node is to be unwrapped.
    bool RemoveNonXhtmlTag();
    // Keeps, with lower-case names, the common attributes, "class" when
    // keepClass is set, and those ValidProperties lists for the tag; deletes
    // every other attribute.
    void CorrectTagNameAndAttr(bool keepClass);
    // Deletes "align", "valign" and "id" from every node.
    void RemoveWordAttr();
    // Removes every "script" with its content, unwraps every "noscript" and
    // deletes the 23 event attributes. Answers whether this node is a
    // script.
    bool RemoveScriptInfo();
    // Removes every "p" without element children whose texts are empty or
    // hold only blank, TAB, CR, LF or no-break space; a "p" is not searched
    // inside.
    void RemoveEmptyParagraph();
    // Every "other" element whose tag is not in list (",tag," is searched
    // for, case-sensitive): an inline one is unwrapped, a block one becomes
    // "div". Comments stay.
    void CleanCustomTag(const CSafeBuf& list);
    // Unwraps the children a node may not hold, by its tag (a table also has
    // its caption moved first), then validates every child.
    void ValidateDoc();
    // While this node has exactly one child that may be unwrapped, unwraps
    // it (see the rules at the definition). *unwrappedPre, when given, is
    // set to whether one of the elements unwrapped was a pre: what is left
    // is then a pre's content, whose white space is its own.
    void RemoveTopSingleEle(bool* unwrappedPre = nullptr);
    // Unwraps every child whose kind has a bit of mask (but scripts and
    // noscripts), putting a new node named tag (when given) in front of each
    // but the first child, or else blanks around a block's content where its
    // words would meet others; the others are searched likewise, without
    // the tag.
    void RemoveTags(int mask, const char* tag = nullptr);
    // Merges neighbouring children that are alike into one; answers whether
    // anything changed at any level.
    bool CombineTag();
    // Moves a "br" that follows an inline element into its end, and one that
    // precedes an inline element into its start.
    void MoveBrInside();
    // Moves line breaks out of the ends of inline elements, and puts loose
    // inline content of cells, divisions and quotations into paragraphs
    // (outside a pre, the one made for the content in front of paragraphs
    // ends without white space, as reading it gives).
    void FinalClean(bool flag);

    // ---- fields ----
    CSrcText m_tag; // empty for a text node; "_comment_" for a comment
    CMapStringToString m_attributes;
    CSrcText m_text; // of a text node or comment
    // On a root loaded from a whole document (null otherwise): the html start
    // tag, and every node the html element holds beside its body, as
    // markup, in order.
    struct DocumentParts
    {
        CSafeBuf htmlStartTag;
        CStringList keptNodes;
    };
    std::unique_ptr<DocumentParts> m_document;
    CXHTMLServices* m_owner = nullptr;
    // The XHTML tag the node is named after; null for other tags and text.
    const SrcTagInfo* m_info = nullptr;
    int m_kind = -1;              // ElementType's answer, -1 until asked for
    unsigned char m_nonXHTML = 0; // the tag is not an XHTML tag

private:
    friend struct SrcStreamReader;

    bool LoadDocFrom(const unsigned short* text, bool streamed);
    // The streamed read of prepared markup into this root, which holds no
    // children or attributes yet. False, leaving it so, when the text is not
    // of a shape it reads: LoadPreparedDoc reads it then.
    bool ReadStreamed(const CSafeBuf& markup);
    // A node of the arena: its texts take their room there too.
    CSrcElement(CXHTMLServices* owner, CSrcArena* arena);
    // The arena this node's new children take their room from, made when
    // first needed.
    CSrcArena& Arena();
    // A new node in this node's arena: unnamed (a text node), or named.
    CSrcElement* NewNode();
    CSrcElement* NewElement(const SrcTagInfo* info);
    CSrcElement* NewElement(const unsigned short* name);
    CSrcElement* NewElement(const char* name);
    void Name(const unsigned short* name);
    void Name(const SrcTagInfo* info);
    // afterInline: the element follows inline content in its parent, so
    // white space that starts its children separates words too (a line's
    // pieces of one element are written as elements of their own:
    // <code>a</code><code> <em>b</em></code>).
    void Read(_xmlNode* node, bool preserveSpace, SrcReadBuffers& buffers, bool afterInline = false);
    // Read's steps, one node at a time (the streamed read takes them too).
    // An attribute with its text (none or empty: nothing is kept), and a
    // namespace declaration.
    void ReadAttribute(const unsigned char* prefix, const unsigned char* local, const unsigned char* value,
        SrcReadBuffers& buffers);
    void ReadNamespace(const _xmlNs* ns, SrcReadBuffers& buffers);
    // Whether white space that starts this element's children follows
    // inline content (see Read).
    bool ChildrenStartAfterInline(bool startsAfterInline) const;
    void ReadComment(const unsigned char* content);
    // A text of length bytes (content[length] is 0); followed: another node
    // comes after it in its parent. afterInline is updated.
    void ReadText(
        const unsigned char* content, int length, bool followed, bool preserveSpace, bool& afterInline);
    // A new child element named prefix:local, added at the end; its
    // attributes and children follow, then ReadElementEnd.
    CSrcElement* ReadElementStart(
        const unsigned char* prefix, const unsigned char* local, SrcReadBuffers& buffers);
    void ReadElementEnd(CSrcElement* child, bool& afterInline);
    void Link(CSrcElement* child, CSrcElement* before);
    void Unlink(CSrcElement* child);
    // Namespace declarations of a node about to be unwrapped go to the
    // element children that lack them, which used them.
    void HandDownNamespaces(CSrcElement* child);
    void AppendSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch);
    void AppendElementSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch);
    void AppendChildrenSource(
        CSafeBuf& out, int level, int mode, bool flag, bool indent, SrcWriteScratch& scratch);
    void AppendScriptSource(CSafeBuf& out, int level, int mode, bool flag, SrcWriteScratch& scratch);
    void MarkBlockHolders();
    void ValidateChildren();
    // Before child, a block about to be unwrapped among the nodes beside
    // it, a blank goes in where a word of its own would otherwise meet one
    // beside it; likewise after it. In a caption a line break goes in
    // where its lines would otherwise meet content beside it.
    void SpaceAroundBlock(CSrcElement* child);
    void FinalCleanHere();
    // Answers whether a line break went out of c.
    bool MoveEdgeBreaksOut(CSrcElement* c, bool atEnd);

    CSrcElement* m_parent = nullptr;
    CSrcElement* m_firstChild = nullptr;
    CSrcElement* m_lastChild = nullptr;
    CSrcElement* m_previous = nullptr;
    CSrcElement* m_next = nullptr;
    // Where new children and texts take room (see Arena); m_ownsArena when
    // this node made it, rather than living in it.
    CSrcArena* m_arena = nullptr;
    int m_childCount = 0;
    bool m_ownsArena = false;
    // Set by the writer: whether a descendant is a block (worked out once a
    // write, bottom up).
    bool m_holdsBlock = false;
};

// The plain text of selection markup, as the clipboard and a drag carry it
// beside the markup: the markup read as the content of a body (whose start
// tag carries the declarations of namespaces when they are not empty) and
// written as text. The line ends that a block, heading, list or item
// writes after the last of them go: nothing follows them, and they stand
// for a paragraph break that was not selected. Markup that is a pre's
// content (inPre) is read as such: its line ends and blanks stay as they
// are. Empty when the markup does not read.
void SelectionPlainText(const CSafeBuf& markup, const CSafeBuf& namespaces, CXHTMLServices* owner,
    CSafeBuf& out, bool inPre = false);
