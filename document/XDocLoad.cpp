// Loading markup into the document: the one road by which text becomes the
// document's tree (the engine's load, the control's value, the source view,
// undo and redo, a new document).
//
// The text is parsed whole by the XML layer, a fragment first wrapped into
// an html element and a body. What the tree does not hold is kept beside it
// for the writer: the html and head start tags, the head's markup (without
// its style element) and the style element's markup, whose rules become the
// document's own. The caret marker that the writer puts where the caret
// stands is consumed here, so a document that passes through text keeps its
// caret.

#include "document/XDoc.h"

#include "base/text/U16.h"
#include "base/xml/Xml.h"
#include "base/xml/XmlCheck.h"
#include "base/xml/XmlPushParse.h"
#include "element/Caret.h"
#include "element/Element.h"
#include "element/TextRunPass.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/HeadParts.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/MarkupReader.h"
#include "element/markup/MarkupScan.h"
#include "element/markup/ParseToBody.h"
#include "element/markup/SourceCode.h"
#include "element/markup/TreeRepair.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/TableElement.h"
#include "style/layout/LayoutPass.h"
#include "style/sheets/SheetText.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct XmlDocRelease
{
    void operator()(xmlDoc* doc) const { XMLReleaseDom(doc); }
};
using ParsedDoc = std::unique_ptr<xmlDoc, XmlDocRelease>;

// The text parsed, the entities it declares itself put in place; null when
// it does not parse or they expand too far.
// The parse of UTF-8 bytes made of a text of units units (the budget of the
// document's own entities counts the text's units).
ParsedDoc ParseBytes(const std::string& bytes, size_t units)
{
    ParsedDoc doc(LoadXMLBytes(bytes.data(), bytes.size(), nullptr, true));
    if (doc && !SettleDeclaredEntities(doc.get(), units, nullptr))
        doc.reset();
    return doc;
}

ParsedDoc Parse(const CSafeBuf& text)
{
    ParsedDoc doc(LoadXMLString(text, nullptr, true));
    if (doc && !SettleDeclaredEntities(doc.get(), static_cast<size_t>(text.Length()), nullptr))
        doc.reset();
    return doc;
}

// The caret marker word taken out of a text or attribute value node.
void DropMarkerWord(xmlNode* text)
{
    if (!text->content)
        return;
    std::string content(reinterpret_cast<const char*>(text->content));
    const size_t n = std::strlen(kCaretMarker);
    bool changed = false;
    for (size_t at = content.find(kCaretMarker); at != std::string::npos;
         at = content.find(kCaretMarker, at)) {
        content.erase(at, n);
        changed = true;
    }
    if (changed)
        xmlNodeSetContent(text, reinterpret_cast<const xmlChar*>(content.c_str()));
}

// The caret marker out of the kept part of the document (the head): an
// attribute named by it goes, the word goes from texts, comments and
// attribute values. Done on the nodes, the markup written of them stays
// well-formed whatever stood around the word.
void DropCaretMarkers(xmlNode* top)
{
    for (xmlNode* n = top; n;) {
        if (n->type == XML_ELEMENT_NODE) {
            for (xmlAttr* a = n->properties; a;) {
                xmlAttr* next = a->next;
                if (xmlStrcmp(a->name, reinterpret_cast<const xmlChar*>(kCaretMarker)) == 0) {
                    xmlRemoveProp(a);
                } else {
                    for (xmlNode* v = a->children; v; v = v->next)
                        DropMarkerWord(v);
                }
                a = next;
            }
        } else if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE
            || n->type == XML_COMMENT_NODE) {
            DropMarkerWord(n);
        }
        if (n->children && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            continue;
        }
        while (n != top && !n->next)
            n = n->parent;
        n = n == top ? nullptr : n->next;
    }
}

// Whether text holds word (ASCII), looked for from its end: a whole
// document's end tags stand there, found without a pass over the text.
bool HoldsFromEnd(const unsigned short* s, size_t length, const char* word)
{
    const long n = static_cast<long>(std::strlen(word));
    for (long at = static_cast<long>(length) - n; at >= 0; --at) {
        int i = 0;
        while (i < n && s[at + i] == static_cast<unsigned char>(word[i]))
            ++i;
        if (i == n)
            return true;
    }
    return false;
}

// Whether the text of length units, made bytes (XmlTextBytes), holds the
// caret marker. Every ASCII unit of the text is the same byte there, every
// other unit bytes of 0x80 and above: the marker (ASCII) stands in the
// bytes where it stands in the units, and is looked for there, a pass the C
// library runs many bytes at a time. Only a text opening with a UTF-8 mark
// written one byte to a unit is made bytes of its units' low bytes, where a
// wider unit may turn ASCII: it is searched as units.
bool HoldsMarker(const unsigned short* text, size_t length, const std::string& bytes)
{
    if (length >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF)
        return qm::markup::HoldsWord(text, length, kCaretMarker);
    return bytes.find(kCaretMarker) != std::string::npos;
}

// An attribute of the element whose name and value are both name and value,
// case ignored.
bool HasAttribute(xmlNode* element, const char* name, const char* value)
{
    CSafeBuf n, v;
    for (xmlAttr* a = element->properties; a; a = a->next) {
        XMLGetAttrInfo(a, n, v);
        MacGetTagName(reinterpret_cast<xmlNode*>(a), n);
        if (n.CompareNoCase(name) == 0 && v.CompareNoCase(value) == 0)
            return true;
    }
    return false;
}

// The first style element from node on, among its siblings, whose rules
// are for the screen (its media attribute missing, blank, or naming "all"
// or "screen"); null when none. A style element for print or another medium
// is kept in the head but its rules never apply, and so is a processing
// instruction of that name.
xmlNode* NextScreenStyle(xmlNode* node)
{
    for (; FindNodeInCurLevel(node, "style", &node); node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        CSafeBuf media;
        FindAttribute("media", media, node);
        if (IsScreenMediaAttribute(media))
            return node;
    }
    return nullptr;
}

// The head's markup as the writer keeps it: trimmed, an empty head that the
// XML layer wrote self-closed given its end tag. The style element the
// document's sheet was read from, when there is one, is taken out of the
// head, and `sheetAt` tells where it stood in the markup (-1 without one), so
// that the sheet is written back in its place among the head's children: a
// link or another style before it keeps its place in the cascade. `spans`
// gets where the later style elements whose rules apply stand in the markup
// (start, end), so that a page that writes the working rules itself leaves
// them out.
void KeepHeadMarkup(
    xmlNode* head, xmlNode* sheet, CSafeBuf& markup, int& sheetAt, std::vector<std::pair<int, int>>& spans)
{
    sheetAt = -1;
    spans.clear();
    XMLGetNodeXML(head, markup);
    if (sheet) {
        // The element gives way to a processing instruction whose name the
        // head's markup does not hold, and each later one is put between two
        // of them, so that their places are found in the text in order.
        std::string name = "qm-sheet";
        while (markup.Find(name.c_str()) >= 0)
            name += '-';
        const auto mark = [&](xmlNode* at, bool after) {
            xmlNode* pi = xmlNewDocPI(head->doc, BAD_CAST name.c_str(), nullptr);
            return pi && (after ? xmlAddNextSibling(at, pi) : xmlAddPrevSibling(at, pi)) != nullptr;
        };
        xmlNode* place = xmlNewDocPI(head->doc, BAD_CAST name.c_str(), nullptr);
        if (place) {
            xmlNode* later = NextScreenStyle(sheet->next);
            xmlReplaceNode(sheet, place);
            xmlFreeNode(sheet);
            int marks = 1;
            for (; later; later = NextScreenStyle(later->next))
                marks += mark(later, false) && mark(later, true) ? 2 : 0;
            XMLGetNodeXML(head, markup);
            const std::string text = "<?" + name + "?>";
            std::vector<int> at;
            for (int found = markup.Find(text.c_str()); found >= 0;
                 found = markup.Find(text.c_str(), found)) {
                markup.Delete(found, static_cast<int>(text.size()));
                at.push_back(found);
            }
            if (!at.empty())
                sheetAt = at[0];
            // (A pair that could not be made whole leaves the spans unknown.)
            for (size_t i = 1; i + 1 < at.size() && static_cast<int>(at.size()) == marks; i += 2)
                spans.emplace_back(at[i], at[i + 1]);
        } else {
            XMLRemoveNode(sheet);
            XMLGetNodeXML(head, markup);
        }
    }
    const int length = markup.Length();
    markup.TrimLeft();
    const int cut = length - markup.Length();
    if (sheetAt >= 0)
        sheetAt = std::max(0, sheetAt - cut);
    for (auto& [start, end] : spans) {
        start -= cut;
        end -= cut;
    }
    markup.TrimRight();
    const unsigned short* s = markup;
    for (int i = markup.Length() - 2; i >= 0; --i) {
        if (s[i] != '/' || s[i + 1] != '>')
            continue;
        bool last = true;
        for (int j = i + 2; j < markup.Length() && last; ++j)
            last = s[j] <= 32;
        if (last) {
            markup.Delete(i);
            markup += "</head>";
        }
        break;
    }
    markup.TrimRight();
    if (sheetAt > markup.Length())
        sheetAt = markup.Length();
    // A later style element stands inside the head, before its end tag.
    while (!spans.empty() && spans.back().second > markup.Length())
        spans.pop_back();
}

// A data table gets its header ids and row groups (tables that the repair
// made from stray rows and cells too). A table's own rows and cells are all
// it reads and changes, so the tables may come in any order. keys holds the
// header keys the tables read so far took back from their ids: a second
// table with the same ids (a copy) does not take the key again.
void MarkDataTable(CElement* e, std::set<long>& keys)
{
    if (auto* table = dynamic_cast<CTableElement*>(e)) {
        if (table->IsDataTable())
            table->DoDataTableHeaders(&keys);
    }
}

// A body without children gets a paragraph holding one empty run, where the
// caret can stand. A failure leaves the body as it is.
void GiveEmptyParagraph(CElement* root)
{
    try {
        CElement* p = CreateElement("p", root->m_rules, root, root->m_owner);
        if (!p || !root->InsertChild(p, 0, false)) {
            if (p && !p->m_parent)
                delete p;
            return;
        }
        p->CopyFromParent(root, 1);
        CElement* run = CreateElement("", root->m_rules, root, root->m_owner);
        if (run && p->InsertChild(run, 0, false))
            run->CopyFromParent(p, 1);
        else if (run && !run->m_parent)
            delete run;
    } catch (...) { }
}

} // namespace

bool CXDoc::CreateNewDocument()
{
    static const unsigned short kEmpty[] = {0};
    return LoadDocument(kEmpty);
}

bool CXDoc::LoadDocument(const unsigned short* text) { return LoadDocument(text, {}); }

bool CXDoc::LoadDocument(const unsigned short* text, const std::function<void()>& read)
{
    try {
        bool built = false;
        const bool loaded = ReadDocument(text, built);
        const long length = text ? U16len(text) : -1;
        text = nullptr; // the caller may free it now
        if (read)
            read();
        if (built) {
            DrawDoc(0, nullptr);
            // The baseline is taken once the kept head is in place: the
            // writer writes it. Its buffer is first made about as long as
            // the text read: grown by doubling while the writer appends, it
            // would hold the old and the new buffer at once just when the
            // laid-out and painted document makes the load's memory highest.
            if (length >= 0)
                m_sourceBaseline.Reserve(length + length / 8 + 64);
            GetSourceCode(m_sourceBaseline, 6, false);
            // The caret's element as loaded: typing there goes on in one
            // step, as after a press in it.
            m_baselinePathId = CaretPathId();
            m_baselineCaretX = m_caretPoint.x - m_scrollX;
            m_baselineCaretY = m_caretPoint.y - m_scrollY - 1;
            m_baselineScrollX = m_scrollX;
            m_baselineScrollY = m_scrollY;
            m_baselineHeldBlock = -1;
            m_baselineHeldAt = -1;
        }
        return loaded;
    } catch (...) {
        WriteExcpInfo("LoadDocument");
        return false;
    }
}

void CXDoc::ReleaseHeldTree()
{
    // The registry is emptied for the new tree: emptied first, the old
    // tree's elements leave it at once and not one by one as each goes.
    m_registry.Clear();
    ReleaseTree();
    // Borrowed pointers into the tree that went.
    m_selectionAnchor = nullptr;
    m_resizeElement = nullptr;
    // The new tree starts with the vertical bar inactive, and so disabled
    // (-2 ... -1): a bar left with the old tree's range would keep its thumb
    // when the new tree fits the view.
    if (m_layoutFlags[kVerticalBarActive]) {
        m_verticalBar.SetMinimum(-2);
        m_verticalBar.SetMaximum(-1);
    }
    m_layoutFlags[kVerticalBarActive] = 0;
}

bool CXDoc::ReadDocument(const unsigned short* text, bool& built)
{
    built = false;
    static const unsigned short kEmpty[] = {0};
    if (!text)
        text = kEmpty;

    // The view and caret state goes, whatever the load gives.
    m_resizeState = 0;
    m_handleElement = nullptr;
    m_pointerElement = nullptr;
    m_caretElement = nullptr;
    m_scrollX = 0;
    m_scrollY = 0;
    m_lastKeyPos = CPoint(-1, -1);
    m_selectionPresent = 0;
    m_cellMarkMode = 0;
    m_selectedCellCount = 0;
    m_markedTable = nullptr;
    m_pressInSelection = 0;
    m_textDrag = 0;

    const CControlServices* control = m_owner ? m_owner->m_control : nullptr;
    CSafeBuf wrapper("<html");
    if (control && control->Dir.CompareNoCase("rtl") == 0)
        wrapper += " dir='rtl'";
    if (control && !control->Namespaces.IsEmpty()) {
        wrapper += " ";
        wrapper += control->Namespaces;
    }
    wrapper += ">";

    const size_t length = static_cast<size_t>(U16len(text));
    bool whole = qm::markup::HoldsWord(text, length, "<body") && HoldsFromEnd(text, length, "</body>");
    // Named references become numeric ones, which the parser reads as the
    // characters they name ("&nbsp;" a no-break space): in the UTF-8 bytes
    // the parser reads, where the references are the same ASCII. A whole
    // document is made bytes as it stands; a fragment is first copied once,
    // with the wrapper around it.
    size_t units = length;
    std::string bytes;
    // The caret marker is the writer's word, written as it stands: a text
    // without it holds no caret to look for in the tree.
    bool marked = false;
    if (whole) {
        bytes = XmlTextBytes(text, length);
        marked = HoldsMarker(text, length, bytes);
    } else {
        marked = qm::markup::HoldsWord(text, length, kCaretMarker);
        CSafeBuf source;
        source.PrepareBufferSize(static_cast<long>(length) + wrapper.Length() + 32);
        source.ClearBuffer();
        source += wrapper;
        source += "<body>";
        source.Append(text, static_cast<int>(length));
        if (!*text)
            source += "<p></p>";
        source += "</body></html>";
        units = static_cast<size_t>(source.Length());
        bytes = XmlTextBytes(source);
    }
    PrepareMarkupEntities(bytes);
    const size_t estimate = ElementEstimate(bytes.data(), bytes.size());

    // A tree held goes before the parse when the text is sure to give a
    // body: the new tree then takes the old one's memory in order instead of
    // the gaps it leaves between the parser's nodes, which costs every walk
    // of the new tree. Otherwise it goes only once the text has given one.
    // The check costs about what it saves on a small tree.
    constexpr int kLargeTree = 20000;
    if (m_root && m_registry.GetCount() > kLargeTree
        && XmlParsesWithChild(bytes.data(), bytes.size(), "html", "body"))
        ReleaseHeldTree();

    // (A style element in the body goes into the head before the body is
    // read, which needs the whole parse.)
    if (!m_root && m_parsePiece && !MayHoldStyleAfterBody(bytes.data(), bytes.size())
        && ReadWhileParsed(bytes, whole, marked, estimate, built))
        return true;

    bool parsed = true;
    ParsedDoc doc = ParseBytes(bytes, units);
    std::string().swap(bytes);
    if (!doc) {
        if (m_root)
            return false;
        parsed = false;
        whole = false;
        CSafeBuf empty(wrapper);
        empty += "<body></body></html>";
        doc = Parse(empty);
    }
    xmlNode* html = doc ? GetRootElement(doc.get()) : nullptr;
    xmlNode* body = nullptr;
    xmlNode* head = nullptr;
    if (html) {
        FindChildNode(html, "body", &body);
        FindChildNode(html, "head", &head);
        if (body)
            GatherIntoBody(html, body);
    }
    // The style elements of the content, or beside the head, are the
    // document's own rules, kept in its head as a head's style element is:
    // a fragment that holds one is made a whole document, whose head the
    // writer writes.
    if (body && MoveStylesIntoHead(html, body, &head))
        whole = true;
    if (head && marked)
        DropCaretMarkers(head);
    // A tree already held stays when the text gives none, and so does what
    // the writer keeps of the text it was loaded from.
    if (!body && m_root)
        return false;

    xmlNode* sheetNode = TakeDocumentParts(html, head, body, whole);
    if (!MakeRoot(body != nullptr))
        return false;
    if (body) {
        ReadBody(head, body, marked, estimate, nullptr, {});
        built = true;
    }
    if (head)
        KeepHeadMarkup(head, sheetNode, m_headMarkup, m_sheetPlace, m_sheetSpans);
    return parsed && body;
}

xmlNode* CXDoc::TakeDocumentParts(xmlNode* html, xmlNode* head, xmlNode* body, bool whole)
{
    m_fullDocument = whole ? 1 : 0;
    m_htmlStartTag.Empty();
    m_headStartTag.Empty();
    m_headMarkup.Empty();
    m_styleMarkup.Empty();
    m_sheetPlace = -1;
    m_sheetSpans.clear();
    m_rightToLeft = 0;
    if (html) {
        CSafeBuf end;
        ElementStartTag(html, m_htmlStartTag, end);
        m_rightToLeft = HasAttribute(html, "dir", "rtl") ? 1 : 0;
    }

    xmlNode* sheetNode = nullptr; // the head's style element read as the sheet
    if (body) {
        ReleaseHeldTree();
        FreeStyleClass(1);
        ReleaseImagePool();
        m_ownSheets.clear();
        sheetNode = head ? NextScreenStyle(head->children) : nullptr;
        if (sheetNode) {
            XMLGetNodeXML(sheetNode, m_styleMarkup);
            // The head's later style elements stay in its markup as they
            // are, and the rules of those for the screen apply too, after
            // the sheet's and in document order, as a browser applies them.
            for (xmlNode* style = sheetNode; style; style = NextScreenStyle(style->next)) {
                CSafeBuf name, sheet;
                GetNameValue(style, name, sheet);
                LoadStyleClass(sheet, 0, false, 0);
                m_ownSheets.push_back(sheet);
            }
        }
    }
    return sheetNode;
}

bool CXDoc::MakeRoot(bool forBody)
{
    if (m_root)
        return true;
    // The control's sheet goes first, so that the document's own rules
    // win ties of equal specificity.
    CopyStyles(m_savedRules, m_workingRules, true);
    m_registry.Clear();
    m_root = CreateElement("body", m_workingRules, nullptr, m_owner);
    if (!m_root)
        return false;
    if (m_root->Rare().m_baseURL)
        *m_root->EditRare().m_baseURL = m_baseURL;
    m_root->SetMargin(10, 15, 10, 16);
    // A tree read into the body takes the view's width before its
    // restyle below: read into a body without one, its elements make
    // no layout records that the restyle would make again.
    if (!forBody)
        SetLayoutWidth(m_root, static_cast<int>(m_windowRect.right - m_windowRect.left));
    return true;
}

bool CXDoc::ReadBody(xmlNode* head, xmlNode* body, bool marked, size_t estimate, CXmlPushParse* parse,
    const std::function<bool()>& keep)
{
    if (head) {
        CSafeBuf end;
        ElementStartTag(head, m_headStartTag, end);
        xmlNode* base = nullptr;
        CSafeBuf href;
        if (FindChildNode(head, "base", &base) && FindAttribute("href", href, base)
            && m_root->Rare().m_baseURL) {
            href.Trim();
            *m_root->EditRare().m_baseURL = href;
        }
    }
    if (m_rightToLeft) {
        CSafeBuf dir("dir"), rtl("rtl"), align("align"), right("right");
        m_root->LoadAttributeStyle(dir, rtl);
        m_root->LoadAttributeStyle(align, right);
    }
    // The registry makes room for the elements at once, rather than
    // rebuilding its set of addresses at every doubling of a large tree.
    m_registry.Reserve(static_cast<size_t>(m_registry.GetCount()) + estimate);
    // The tree is styled once, after the repairs below: the reader
    // leaves it with the styles each element took as it was read. The
    // body's children are repaired as they are read, unless the caret
    // marker is to be taken out of the tree before the repair.
    const CRepairAsReadScope repairing(m_root, !marked);
    ReadConsumingNodes(m_root, body, parse, false);
    if (keep && !keep())
        return false;
    if (marked) {
        if (CElement* caret = FindCursorFromSource(m_root))
            m_caretElement = caret;
        RemoveSelectionMarkers(m_root);
    }
    try {
        m_root->CheckDocument();
        // The data tables are marked as the walk that makes the runs
        // for the caret and collapses white space meets them. The runs
        // take their styles with the whole tree's below.
        std::set<long> keys;
        MakeRunsAndCollapseSpace(m_root, [&keys](CElement* e) { MarkDataTable(e, keys); });
    } catch (...) {
        WriteExcpInfo("LoadDocument: repair");
    }
    SetLayoutWidth(m_root, static_cast<int>(m_windowRect.right - m_windowRect.left));
    if (!m_root->m_firstChild)
        GiveEmptyParagraph(m_root);
    m_root->StyleChanged(1);
    return true;
}

bool CXDoc::ReadWhileParsed(const std::string& bytes, bool whole, bool marked, size_t estimate, bool& built)
{
    CXmlPushParse parse(bytes.data(), bytes.size(), m_parsePiece);
    // A text with content beside its body or its head after the body, or
    // that does not parse, is read from its whole parse, and so is one that
    // ParseToBody leaves.
    xmlNode* html = nullptr;
    xmlNode* body = ParseToBody(parse, false, &html);
    // (A style element beside the head goes into it before the body is
    // read, which needs the whole parse.)
    if (!body || HasStyleChild(html))
        return false;
    // The document type goes before the head is written, as it goes after
    // a whole parse: kept, it would have the library write the head as
    // XHTML of its own making. Declaring nothing, it is not asked for again
    // while the rest is parsed.
    if (!SettleDeclaredEntities(parse.Doc(), bytes.size(), nullptr))
        return false;
    // Nothing follows the body yet: a head found stands before it.
    xmlNode* head = nullptr;
    FindChildNode(html, "head", &head);
    if (head && marked)
        DropCaretMarkers(head);

    xmlNode* sheetNode = TakeDocumentParts(html, head, body, whole);
    if (!MakeRoot(true))
        return false;
    ParsedDoc doc;
    const bool read = ReadBody(head, body, marked, estimate, &parse, [&]() {
        doc.reset(parse.Finish());
        if (!doc)
            return false;
        for (xmlNode* c = body->next; c; c = c->next) {
            if (GoesIntoBody(c) || (!head && c->name && xmlStrEqual(c->name, BAD_CAST "head")))
                return false;
        }
        return true;
    });
    if (!read) {
        ReleaseHeldTree();
        return false;
    }
    built = true;
    if (head)
        KeepHeadMarkup(head, sheetNode, m_headMarkup, m_sheetPlace, m_sheetSpans);
    return true;
}
