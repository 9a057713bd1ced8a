#pragma once
// CElement: one node of the document tree and the base class of every element
// kind (elements/). One object stands for one element or one run of text. Its
// data is CElementFields (ElementFields.h); this header gives the operations,
// grouped by concern:
//
//   identity, tag and kind           Element.cpp
//   child list and destruction       ElementChildList.cpp
//   ancestor and descendant queries  ElementQueries.cpp (free ones: TreeQueries.h)
//   walks, indexes and order         ElementWalks.cpp (free ones: TreeQueries.h)
//   markup and path strings          ElementTagList.cpp (free ones: TagList.h)
//   attributes                       ElementAttributes.cpp
//   style text                       ElementStyleText.cpp
//   inheritance                      ElementInherit.cpp
//   style upkeep                     ElementStyleUpkeep.cpp
//   copies and markup fragments      ElementCopy.cpp
//   selection                        ElementSelection*.cpp (free ones: Selection.h)
//   inserting markup at the caret    ElementInsertTag.cpp
//   free utilities                   ElementUtilities.h, EffectiveValues.h,
//                                    ElementPictures.h
//   virtual operations               ElementVirtuals.cpp
//
// Identity. Each element gets a serial identifier at construction that is
// never reused in the process, so an identifier kept across edits names
// either the same element or none: the document's registry
// (element/ElementRegistry.h) answers which. Tree primitives name children
// by identifier.
//
// Elements come into being only through the factory (factory/ElementFactory.h),
// which sets kind, flags, owner and root and registers the element; the
// constructor registers nothing.
//
// Destruction. Deleting an element destroys its whole subtree without
// recursion (Release walks the subtree bottom-up), so trees of any depth can
// be destroyed.
//
// Virtual operations are declared in slot order, each with its base
// behaviour.

#include "element/ElementFields.h"
#include "element/ElementKinds.h"

#include "base/geometry/Size.h"

#include <cstddef>

class CListInt;
struct CalcInfo;
struct SourceCodeVar;
struct _xmlNode;

class CElement : public CElementFields
{
public:
    // All links null, counts and kind 0, flags 0 except the container flag;
    // style zeroed, then the family "Times New Roman" with the default font
    // number; drawing colour white; rule list = rules; a new identifier.
    explicit CElement(STYLE_CLASS* rules);
    // Slots 1 and 2: unregisters the element, then Release().
    virtual ~CElement();
    // Element records of every kind come from a pool that keeps their memory
    // for the next tree (Element.cpp); failure throws std::bad_alloc.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);

    // ==== identity, tag and kind (Element.cpp) ====
    long GetID() const { return m_id; }
    // The exclusive-or of the identifiers of this element and its ancestors.
    long GetPathID() const;
    // Whether e is a live element of this element's document (through the
    // owner); false without an owner. A pointer cannot tell an element from
    // a later one built in the same memory: code that keeps an element across
    // edits keeps its identifier and asks the document's registry.
    bool IsElementExist(const CElement* e) const;
    // Copies the tag (cut to 101 characters); with apply the style sheets are
    // applied (ApplyCSS). The 8-bit form widens byte by byte (zero-extended).
    void SetTagName(const unsigned short* tag, bool apply);
    void SetTagName(const char* tag, bool apply);
    void SetTagName(const CTagName& name, bool apply);
    const unsigned short* GetTagName() const { return m_tagName; }
    // The tag is in InlineTags.
    bool IsStandardInlineElement() const;
    // Exact (case-sensitive) comparison with the tag name.
    bool IsTag(const unsigned short* tag) const;
    bool IsTag(const char* tag) const;
    bool IsType(int kind) const { return m_kind == kind; }
    bool IsTextElement() const { return m_kind == kKindText; }
    // p (8) and blockquote (44).
    bool IsParagraphType() const;
    // The style's float cell is set and not none.
    bool IsFloatType() const;
    void SetNoChildElementType() { m_noChild = 1; }
    // op 1 with id: the inline group becomes id; op 1 with 0: the group
    // becomes the own identifier unless already set; op 2 clears it. Every op
    // answers the current group.
    long InlineIDInfo(int op, long id);
    // The default margins; an argument below 0 leaves that side unchanged.
    void SetMargin(int left, int top, int right, int bottom);
    // With an owner: BuildCDC(null) and CalculateReg(null, null).
    void InitElement(int);
    // Exception-log hooks; they do nothing.
    void WriteExcpInfo(const char*) { }
    void WriteExcpInfo(const unsigned short*) { }
    // The first attribute whose name equals name ignoring ASCII case; value
    // receives its value (empty when none). Answers whether one was found.
    bool GetAttrNoCase(const unsigned short* name, CSafeBuf& value) const;
    bool GetAttrNoCase(const char* name, CSafeBuf& value) const;

    // ==== attributes (ElementAttributes.cpp) ====
    // Names are kept as written. The 16-bit look-up is exact (case-sensitive);
    // the 8-bit one ignores ASCII case, as GetAttrNoCase. value is empty when
    // the attribute is absent. Answers whether it was found.
    bool GetAttrString(const unsigned short* name, CSafeBuf& value) const;
    bool GetAttrString(const char* name, CSafeBuf& value) const;
    // Exact name. An existing attribute takes a non-empty value in place and
    // is removed by an empty (or null) one; a missing one is appended when
    // the value is not empty. After any change the style sheets are applied
    // again (ApplyCSS(null, true)). Answers whether the attribute existed
    // before. A name that is not an XML name changes nothing (false). The
    // 8-bit forms widen (zero-extended) and forward.
    bool SetAttrString(const unsigned short* name, const unsigned short* value);
    bool SetAttrString(const char* name, const unsigned short* value);
    bool SetAttrString(const unsigned short* name, const char* value);
    bool SetAttrString(const char* name, const char* value);
    int GetAttrCount() const { return m_attributes.GetCount(); }
    // id, title, xml:lang, dir and the nine on... event attributes, ASCII
    // case ignored.
    static bool IsCommonAttribute(const unsigned short* name);
    // Empties to and copies every pair of from in order, names lower-cased
    // when lower (names that become equal keep the later value). to may be
    // from.
    static void CopyMap(CMapStringToString* to, const CMapStringToString* from, bool lower);

    // ==== markup into the element (ElementCopy.cpp) ====
    // Parses "<top>" + markup + "</top>" and reads the children of top into
    // this element (SetElement(top, false, true, false)). Answers whether
    // the markup parsed.
    bool InsertHTMLCodeToElement(const unsigned short* markup);

    // ==== style text (ElementStyleText.cpp) ====
    // Style text is a run of declarations "name: value" separated by ";". A
    // declaration of property is one whose name (the text before its first
    // ":", blanks around it ignored) equals property exactly, so
    // "background-color" never answers for "color". Only the first such
    // declaration counts.
    //
    // The value of the first declaration of property, trimmed; false and an
    // empty value when there is none.
    static bool GetAttrValue(const CSafeBuf& style, const unsigned short* property, CSafeBuf& value);
    static bool GetAttrValue(const CSafeBuf& style, const char* property, CSafeBuf& value);
    // With a declaration of property: an empty value deletes it with its ";"
    // (and the blanks after it when it came first); another value replaces
    // the old one: the text up to the colon, a blank, the value, and ";"
    // when nothing followed. Without one, a non-empty value is appended as
    // "property: value;", after a ";" when the text does not already end in
    // one (trailing blanks ignored). Answers whether a declaration was found.
    static bool ReplaceStyleString(
        CSafeBuf& style, const unsigned short* property, const unsigned short* value);
    static bool ReplaceStyleString(CSafeBuf& style, const char* property, const char* value);

    // ==== child list (ElementChildList.cpp) ====
    // These link and unlink only: no layout, style or registry work. Each
    // refuses (answers false, changes nothing) a null child and the element
    // itself or one of its ancestors (which would make a cycle); the child's
    // parent becomes this element. A child must not be in another list when
    // it is linked: unlink it first (or forget that list with ResetChild).
    bool AddToTail(CElement* c);
    bool AddToHead(CElement* c);
    // Links c after ref (after) or before it; a null ref means the end
    // (after) or the front. A ref that is not a child refuses.
    bool InsertInto(CElement* c, CElement* ref, bool after);
    // Unlinks c; c keeps its parent pointer, its sibling links are cleared.
    // A child not in the list leaves the list unchanged and answers false.
    bool RemoveCurrentChildFromList(CElement* c);
    // c is linked in this element's child list (its parent and sibling links
    // agree with the list's); answered without a walk.
    bool IsLinkedChild(const CElement* c) const;
    // Forget all children (first, last, count) without deleting them; the
    // children keep their own links.
    void ResetChild();
    void RemoveAllChildPointer() { ResetChild(); }
    // e takes the place (siblings, first or last) of the child id, and this
    // element becomes e's parent; the old child's own links stay as they
    // were. False (nothing changed) when id names no child or e cannot be
    // linked.
    bool ReplaceElementPointer(long id, CElement* e);
    // With skipFloating the first child that is not floating.
    CElement* GetFirstChild(bool skipFloating = false) const;
    CElement* GetLastChild() const { return m_lastChild; }
    // With skipEmptyText text runs with empty text are not counted.
    long GetChildCount(bool skipEmptyText = false) const;
    // Without the switches the next or previous sibling. Otherwise walks in
    // that direction passing over text runs and comments (skipTextAndComments)
    // and, when this element is inline with an inline group, over siblings of
    // the same group (sameGroup); answers the first sibling not passed over.
    CElement* GetBrother(bool next, bool sameGroup, bool skipTextAndComments) const;
    // Takes c off the root's float list when it is floating, marks the rows
    // it was painted on for the next quick repaint, then destroys it.
    void DeleteElement(CElement* c);
    // As DeleteElement, the pending row shift of this element and its
    // ancestors (RowLag) given by a caller that already knows it.
    void DeleteElement(CElement* c, int lag);
    // The pending row shift of this element's painted record: its own and
    // its ancestors' up to the first that is no longer registered.
    int RowLag() const;
    // This element's own share of RowLag, or -1 when it is not registered.
    int OwnRowLag() const;

    // ==== ancestor and descendant queries (ElementQueries.cpp) ====
    // All start at the parent: an element is never its own ancestor.
    CElement* IsElementUnderTag(int kind) const;
    // Tag compared exactly; with a non-empty cls the class attribute (name
    // ignoring case) must equal cls exactly.
    CElement* IsElementUnderTag(const unsigned short* tag, const unsigned short* cls) const;
    CElement* IsElementUnderTag(const char* tag, const char* cls) const;
    // which 0: the nearest heading; 1: the nearest ul or ol; else null.
    CElement* IsElementUnderClass(int which) const;
    // Appends, depth first in document order, every descendant whose kind is
    // in kinds; div elements are searched but never added.
    void GetAllChildrenEx(CPtrList* out, CListInt* kinds) const;

    // ==== walks, indexes and order (ElementWalks.cpp) ====
    // Appends descendants in document order (each before its children). A div
    // is never listed but searched through. A child of kind skipKind is left
    // out with its subtree. selectedOnly lists selected elements only;
    // onlyKind (not 0) only that kind, -1 the floating elements. limit 1
    // stops after the first listed element, limit 2 after the second.
    void GetAllChildren(CPtrList* out, int skipKind, bool selectedOnly, int onlyKind, int limit) const;
    // The child with index n (from 0) among the children of that kind (or
    // tag); with deep each child's subtree is searched right after the child,
    // with the same n. Null when none.
    CElement* FindChild(int kind, int n, bool deep) const;
    CElement* FindChild(const unsigned short* tag, int n, bool deep) const;
    // Kind 0 means a text run: kind 0 on a text run answers the run itself.
    // Otherwise the child with index n among the children of that kind; n -1
    // answers the last one.
    CElement* GetValidChildElement(int kind, int n);
    // The first element of kind (0: a text run) in the subtree, this element
    // included. From the start this element is tested first, then the
    // children in order; from the end the children from the last, each
    // subtree before its root, and this element last.
    CElement* GetFirstValidSubElement(int kind, bool fromEnd);
    // For the child id: which 0 the child, 1 the one after it, 2 the one
    // before it. Null when id names no child.
    CElement* GetChild(long id, int which) const;
    // e is a proper ancestor.
    bool IsOneOfParent(const CElement* e) const;
    // The n-th child (from 1) with that tag name, the pieces of one wrapped
    // inline child counted once; the first piece is answered.
    CElement* FindElementByIndex(const unsigned short* tag, int n) const;
    // The position among all siblings, from 0; 1 without a parent.
    int GetCurrentIndex() const;
    // The parent's child count; 0 without a parent.
    long GetElementCountInParent() const;
    // Walks the subtree in document order adding 1 to count for each element
    // up to and including the element id; answers whether it was found.
    bool ElementDeep(int& count, long id) const;
    // In document order within this subtree: 1 when a comes first, -1 when b
    // does, 0 when neither occurs.
    int IsBeyondElement(const CElement* a, const CElement* b) const;
    // The number of ancestors of kind, counting upward while each ancestor is
    // still a live element of the document.
    int RepeatOfSameParentType(int kind) const;
    // The subtree holds no content. With countSelf the element itself counts:
    // a comment or an inline custom element is content, so is any other
    // element that is neither inline nor a text run, and a text run with
    // text. Children are always tested with countSelf.
    bool IsEmptyTag(bool countSelf) const;
    // Same kind, the same number of attributes, and each attribute of this
    // element has the same value in e (a missing one compares as empty).
    bool IsTagSameWith(const CElement* e) const;
    // The nearest block ancestor; null when none.
    CElement* GetFirstBlockParent() const;
    // Whether this element comes first in its nearest block ancestor: at
    // every level the element (or the ancestor on its path) is the parent's
    // first child, empty text runs before it passed over with skipEmptyText.
    // The block is stored through block when given. Without anyBlock the
    // answer is false when the block is a table, row, cell, list or li.
    bool IsFirstEleOfBlock(CElement** block, bool skipEmptyText, bool anyBlock) const;

    // ==== selection (ElementSelection*.cpp; free ones: Selection.h) ====
    // The selection is a state of each element (m_selected, m_selectable,
    // m_prevSelected; a text run adds the inclusive range m_selStart ..
    // m_selEnd), not a range object: ElementSelection.cpp has the model.
    //
    // For the whole subtree: the previous state takes the selected one; the
    // range, the selected flag and the whole-table mark are cleared; a
    // table, ul or ol loses its selectable flag; with clearCellMarks the
    // whole-cell marks go too. Answers true.
    bool CleanSelection(bool clearCellMarks);
    // A selectable element is selected (or deselected) and, a text run, over
    // its whole text (0 .. length - 1, 0 .. 0 when empty); the descent stops
    // at a text run. A cell or caption that is not selectable gets its
    // whole-cell mark set to select. The children are treated the same way.
    void SelectAllChildren(bool select);
    // Some descendant (not this element) is selected.
    bool HaveSelectedChild() const;
    // The first element in document order, this one included, that is both
    // selected and selectable; which 1 takes text runs only, 2 text runs or
    // images, anything else any kind.
    CElement* GetFirstSelection(int which);
    // This element or a descendant is selected and of kind.
    bool IsThereATagInSelection(int kind) const;
    // IsSelectionUnderTag(int, int) by tag name (compared exactly) and, when
    // className is not empty, the class attribute.
    bool IsSelectionUnderTag(const unsigned short* tag, const unsigned short* className, int);
    // A block answers false; an inline element with a tag name true when it
    // has children and all of them answer true; a text run true when it is
    // selected from its first character.
    bool IsTagUnderSelection() const;

    // ==== caret and key positions (ElementCaret*.cpp; free ones: Caret.h) ====
    // Makes e, or this element when e is null, the document's caret
    // element; nothing without an owner.
    void SetAsKeyCursor(CElement* e);
    // The document's caret element; null without an owner.
    CElement* GetKeyOnElement() const;
    // The element after the element id (this element for 0) in document
    // order among all elements under the root; null when it is the last or
    // id names no element there.
    CElement* GetElementAfter(long id);
    // Whether this element is its parent's first (or last) child, empty
    // text runs passed over with skipEmptyText; false without a parent.
    bool IsFirstOrLastElementInParent(bool first, bool skipEmptyText) const;
    // The previous test holds at every level from this element up to
    // ancestor; false when ancestor is null or not an ancestor.
    bool IsFirstOrLastElementOf(const CElement* ancestor, bool first, bool skipEmptyText) const;
    // Walking the descendants in document order, e is reached while every
    // element before it that is not inline is an empty text run or floats.
    bool IsFirstValidAreaElement(const CElement* e) const;
    // The first (or last) text run among the descendants; null when none.
    CElement* GetFirstOrLastInputElement(bool first) const;
    // With screen 1 pt is first converted by ElementToScreen; whether the
    // box in document coordinates holds pt (right and bottom exclusive).
    bool IsPointInElement(CPoint pt, int screen);

    // ==== keys on elements (ElementKeys.cpp) ====
    // The text run that typing beside this edge-caret element goes into: a
    // new p holding it before (offset 0) or after (1) the element; beside an
    // image the run alone, outside an enclosing link when the image begins
    // (ends) it. The run becomes the caret element; null on failure.
    CElement* InsertTextBlock();
    // Inserts empty text runs where typing must be possible: before line
    // breaks, images and inline elements that follow one another without
    // text, after the last inline child of a block, into empty blocks.
    // state: 0 nothing yet, 1 a text position exists, 2 one is needed before
    // the next inline element; handed on and back. restyle off: the runs
    // made keep the styles they were made with (the caller restyles the
    // tree afterwards).
    void ValidTextInput(int& state, bool restyle = true);

    // ==== markup and path strings (ElementTagList.cpp) ====
    // Wraps text in this element and then each ancestor, up to but not
    // including the element stop: each adds its start tag (attributes with
    // values escaped; id left out when dropId, always for the ancestors)
    // before and its end tag after; a text run puts its own text, escaped,
    // before instead.
    void GetTagCodeWithParent(CSafeBuf& text, long stop, bool dropId) const;

    // ==== markup reading, writing and repair (element/markup/) ====
    // The reader is SetElement (slot 15), the writer GetSourceCode (slot 67).
    // Repairs this element and its subtree (TreeRepair.h): lists, rows and
    // tables around stray items, cells and rows; inline content of mixed
    // blocks in paragraphs; no line break inside an inline element. Answers
    // 1 for a block element, else 0.
    int CheckDocument();
    // Gives inline and custom elements that hold only right-floated images
    // an empty text run first (a place for the caret). Answers whether
    // anything changed at or below this element.
    bool CheckAndCure();

    // ==== structural edits (ElementEdits.cpp) ====
    // Children are named by identifier: an identifier that names no child
    // (or no live element) makes an operation change nothing and answer
    // false or null.
    //
    // Unlinks the child id; with destroy it is destroyed at once, or with
    // queue put on the document's removed list (destroyed without an owner).
    // An unlinked child keeps its parent pointer. False when id names no
    // child.
    bool RemoveChild(long id, bool destroy, bool queue);
    // e's parent removes e (destroying it with destroy, never queued). False
    // for null e or e without a parent.
    static bool RemoveElement(CElement* e, bool destroy);
    // Empties the child list, destroying the children with destroy (else
    // they are only unlinked).
    void RemoveAllChildren(bool destroy);
    // Unlinks and destroys e when it holds no content: following only
    // children down, the innermost element is not an image, hr, br or text
    // run with text. False when kept, and for an element that is not live in
    // this element's document (e is then not touched).
    bool RemoveIfEmpty(CElement* e);

    // Among the children, each run of neighbouring text runs keeps only its
    // runs with text, or its first run when none has text; other children
    // end a run and are treated the same way, down the subtree. A caret on
    // a removed run goes to the nearest kept run of the same run (before
    // it, else after it), which keeps its own offset. Answers whether
    // anything was removed.
    bool RemoveSecondEmptyText();
    // An image not shown as its alternative text (display type other than
    // 2) destroys its children (the text it showed; a caret on it goes to
    // the image) and answers true; any other element asks its children and
    // answers whether one did.
    bool RemoveChildrenOfImage();

    // Collapses spaces at the starts of text runs (ElementExtraSpace.cpp).
    // previous is the last character written: 32 after a space or at a
    // block start, 0 otherwise. A run starting with spaces after a space
    // loses them; one that comes first in an inline element after other text
    // loses them too, and a run of one space is put before the outermost
    // inline element it starts, so that the space stays outside the
    // formatting. A pre is left alone. Answers whether anything changed.
    bool RemoveExtraSpace(int& previous);

    // ==== linking beside and around (ElementInsert.cpp) ====
    // The parent inserts e before or after this element; with restyle e runs
    // StyleChanged(2). False without a parent.
    bool AddBrother(CElement* e, bool after, bool restyle);
    // A new empty text run goes before (true) or after this element and is
    // restyled unless restyle is off; null without a parent, else the run.
    CElement* InsertEmptyText(bool before, bool restyle = true);
    // wrapper takes this element's place and receives it as its only child,
    // then runs StyleChanged(1). False without a parent.
    bool InsertElement(CElement* wrapper);

    // ==== moving (ElementMove.cpp) ====
    // Moves children into target, each inherited from target (mode 1) and
    // linked at refId / forward, becoming the next refId so the order holds.
    // Visited from the first (forward) or the last. range 0 moves all, 1
    // those before the child markId, 2 the child markId and those after it
    // (nothing when markId names no child). target is never moved. Answers
    // the number moved.
    int MoveChildrenTo(CElement* target, long refId, bool forward, int range, long markId);
    // Unlinks this element and links it into target before or after refId
    // (refId 0: the end or the front; a refId that names no child of target:
    // the end), then inherits from target. False for null target or one
    // inside this element.
    bool MoveCurrentElementTo(CElement* target, long refId, bool after);
    // Moves this element out of the ancestor ancestorId to just after it
    // (after A's first half when A is split). A b or i ancestor clears this
    // element's own bold or italic. With keep the elements between this one
    // and A are copied around it; ancestors left empty are destroyed. False
    // when ancestorId names no ancestor below the root.
    bool JumpOut(long ancestorId, bool keep);
    // Wraps the block-level unit around this element in target (an element
    // not linked in a tree), then restyles target. The unit is found
    // from the nearest block B at or above this element: a p or heading is
    // wrapped whole, after being cut down to the line that holds this
    // element (it is split after each line break before that line and after
    // the one that ends it; those breaks are destroyed); the content of an li or
    // table cell moves into target, which becomes its only child; in any
    // other B the run of inline siblings holding this element's branch
    // (between blocks and line breaks; a break that ends it is destroyed)
    // moves into target, put in its place (B itself: target becomes B's
    // first child). False, changing nothing, for a null or linked target,
    // one that holds this element, and without a block.
    bool MoveElementAndParentTo(CElement* target);
    // Exchanges the nesting of this element and its parent: <b><i>t</i></b>
    // becomes <i><b>t</b></i>. False without a parent and grandparent.
    bool SwitchParent();
    // Moves this element out of its parent, splitting the parent around it
    // (the part before it goes to a Duplicate), and again out of each
    // ancestor up to and including stop (null: the parent only). A parent
    // left holding only this element is dissolved with dissolve. Stops where
    // the parent cannot be split.
    void MoveOutUntil(CElement* stop, bool dissolve);

    // ==== virtual operations, slot order ====
    // 3: the start and end tag markers around the box at origin, when the
    // element has a label and is not the root (style/paint/TagMarkers.h).
    virtual bool DrawMarker(void* dc, CPoint& origin);
    virtual bool FixInlineBrother(void* dc); // 4
    // 5: the number of earlier siblings with the same tag name, the pieces of
    // one wrapped sibling (and the pieces of this element) counted once; 0
    // without a parent.
    virtual int GetIndex() const;
    // 6 (style/layout/): LoadCDCSetting; true.
    virtual bool BuildCDC(void* dc);
    virtual bool PrepareBitmap(void* dc); // 7
    // 8: the pixel font size (Lay().m_pxFontSize) from the style and the parent's,
    // and for kinds that draw text their text font (Lay().m_textFont, marked stale
    // when it changed); nothing without font values.
    virtual bool LoadCDCSetting(void* dc);
    // 9: lays out the subtree: BuildCDC of each child, CalcWinReg, then the
    // final size step (HandleFinalWidth).
    virtual bool CalculateReg(void* dc, CalcInfo* info);
    virtual bool BeforeChildCalReg(void* dc); // 10: true
    // 11: lays out this element (style/layout/LayoutPass.h): each child
    // through its CalculateReg first unless noChildCalc.
    virtual bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info);
    // 12: splits off what does not fit in room.cx and answers the new piece
    // (detached), or null when the rest went into the next sibling; answers
    // the element itself when nothing was split (the base never splits).
    // room.cx receives the width used.
    virtual CElement* WrapElement(CSize& room, bool);
    virtual bool IsCanWrap();    // 13: the can-wrap flag
    virtual bool CanDrawChild(); // 14: true
    virtual bool SetElement(
        _xmlNode* node, bool attributesOnly, bool skipAttributes, bool keepWhiteSpace); // 15
    // 16: takes from the parent's style what this element does not set
    // itself: the right-to-left flag always (unless the element's own
    // direction is left-to-right); with mode 8 the text colour and the font
    // family; unless mode 4 the marker colours and, with mode 1, the font
    // and text values (size, weight, italic, decoration, family, line
    // height, colour). Inherited values are marked as such and never count
    // as the element's own. False for a null style.
    virtual bool CopyStyleFrom(ELEMENT_STYLE* from, int mode);
    // 17: inheritance from parent (ElementInherit.cpp has the steps): the
    // direction always; unless mode 4 the owner, the marker cells, the link
    // state and the derived values (CalcForAll); the available area; with
    // mode 1 the font and text values, with mode 2 the attributes; a p in a
    // cell takes the cell's alignment. False only for a null parent.
    virtual bool CopyFromParent(CElement* parent, int mode);
    // 18: sets parent and owner, lets the child inherit (CopyFromParent mode
    // 1), links it last. False when the child cannot be linked.
    virtual bool AppendChild(CElement* child);
    // 19: links child with parent and owner set: refId 0 at the end (after)
    // or the front, else before or after the child refId. A refId that names
    // no child appends and answers false.
    virtual bool InsertChild(CElement* child, long refId, bool after);
    // 20: destroys every child (bottom-up, without recursion), empties the
    // child list and the attribute map, ReleaseCDC(); on the body also drops
    // the drawing context and frees the document's offscreen bitmap.
    virtual void Release();
    virtual bool ReleaseCDC(); // 21: true
    // 22: records the box size the style specifies, for the layout pass:
    // Lay().m_cssRect.right is a pixel width plus the horizontal borders and
    // paddings, else 0 (a body keeps its own); Lay().m_cssRect.bottom is a pixel
    // height, else 0. Answers true.
    virtual bool SetAttrFromStyle();
    // 23: a length with its unit code in pixels (style/layout/Lengths.cpp).
    virtual int GetPxValue(int value, int unit, int useOwnFont, int base);
    // 24: percent of the first positive of the available, container and CSS
    // widths, of this element or its nearest ancestor with one; 0 when none.
    virtual int GetPercentValue(int percent);
    virtual bool IsValidText(const unsigned short* text); // 25: a character above U+0020
    // 26: the border widths of the sides whose line style is neither none
    // nor hidden; false without borders.
    virtual bool GetBorderRect(CRect& rect, bool clear);
    // 27: the sibling after (forward) or before this element, found through
    // the parent by identifier; null at the end or without a parent.
    virtual CElement* FindNextElementInParent(bool forward);
    virtual bool CombineWrap(CElement* other); // 28: false (a text run joins its piece)
    // 29: the children of the child id take its place, in order; the child
    // is then destroyed. False when id names no child.
    virtual bool RemoveChildNodeOnly(long id);
    // 30: adds the element's document position (style/layout/ElementPosition.h).
    virtual void ElementToScreen(CPoint& pt);
    // 31: pt minus the element's document position; whether the point lies
    // inside the size rectangle, edges included.
    virtual bool PointToElement(CPoint& pt);
    virtual bool InsertText(const unsigned short* text); // 32: false
    // 33: splits this element after the child childId: a new element of the
    // same tag, with a copy of the computed style, inserted after this one,
    // takes the children after childId (an inline element and its half
    // become pieces of one wrap-piece group). Null without a parent, when
    // childId names no child, or for an element that holds no children and
    // may not (unless force). ElementSplit.cpp.
    virtual CElement* BreakElement(long childId, bool force);
    // 34 (style/cascade/StyleChanged.cpp): computes styles again after a
    // class, attribute or sheet change. Modes 1 and 2 recompute this element
    // (reset to the tag's defaults unless bit 0x8000 is set, then the
    // parent's values, the rules, the presentational attributes and the style
    // attribute, and the tag-marker label); every mode but 2 then passes the
    // mode to each child, mode 0 rebuilding each child first. Answers true.
    virtual bool StyleChanged(int mode);
    // 35: hands widths down the subtree (style/layout/ElementRect.cpp).
    virtual bool SetElementRect(CRect& rect, int mode);
    // 36: BuildCDC of the element and its children, then the final size
    // step; no layout.
    virtual bool DrawUncalc();
    // 37: raises size to the narrowest the element can be laid out.
    virtual bool GetMinSize(CSize& size, bool ignoreOwnSize);
    virtual bool RepaintToSameDC(void* dc, CPoint origin, void*, bool, CPoint); // 38
    virtual bool ReLoad(void* context); // 39: loads a picture again; the base has none (false)
    // 40: bottom-up layout: each child but text runs and images first
    // (ReCalcReg(dc, first, true, false)), then CalcWinReg(dc, noChildCalc,
    // sameBlockOnly) and the final size step.
    virtual bool ReCalcReg(void* dc, bool first, bool noChildCalc, bool sameBlockOnly, CalcInfo* info);
    virtual bool SelfPaint(void* dc, CPoint origin);         // 41
    virtual bool DrawMarkOnElement(void* dc, CPoint origin); // 42: nothing in the base
    // 43: aligns the children: 2 middle, 4 bottom, 32 centre, 64 right.
    virtual bool AlignChild(int alignment);
    virtual bool DrawBorder(void* dc, CPoint origin, CRect* clip); // 44
    // 45 (ElementInsertTag.cpp): puts the one element that markup holds
    // beside the child refId (0: the front, or the end with after), climbing
    // out of text runs, inline elements and, with splitBlocks, paragraphs
    // (split where needed; dropEmptyParagraph removes a second half left
    // empty) until an element may hold it (here: this one takes it). Answers
    // the element linked (or the p made around it); null when nothing was
    // inserted: markup that does not parse or a tag the factory cannot make
    // leave the tree as it was, apart from the splits made on the way.
    virtual CElement* InsertTagText(const unsigned short* markup, long refId, bool after, bool here,
        bool splitBlocks, bool dropEmptyParagraph);
    // 46: lays this element out again (its children only for a div; an
    // inline element or a text run lays out its block with all its content,
    // joining wrapped pieces, which may delete this element); when its size
    // changed and upwards, its ancestors up to a cell in a table or the root,
    // without their other children, stopping above the first ancestor that
    // kept its size and baseline.
    virtual bool FastReCalc(bool upwards);
    virtual bool FastDraw(); // 47
    // 48: the caret bar's length: the box height + 1 for an edge-caret
    // element, else 0.
    virtual int GetKeyLen();
    // 49: the caret colour, the complement of the drawing colour (24 bits).
    virtual unsigned long GetKeyColor();
    // 50: the caret's bottom end for offset (-1: the caret offset) in
    // document coordinates, x never negative: before (0) or after (1) an
    // edge-caret element, pulled back inside the content of a pre, div,
    // list, table or locked block; other elements leave pt alone. Answers 1.
    virtual int GetKeyPos(CPoint& pt, int offset);
    // 51 (ElementCaretMove.cpp): the next caret stop, its offset set, or
    // null. fromId is the element the caret leaves: this one, a child, or 0
    // to enter this element. direction 0 backward, 1 forward; 2 and 3 the
    // same passing over edge-caret stops (a table is then entered, not
    // stopped at). A fromId that names no live element answers null. The
    // caller makes the answer the caret element before the next move: an
    // edge stop tells leaving itself from being left by its content by it.
    virtual CElement* MoveKeyFocusToNext(long fromId, int direction);
    // 52 (ElementCaretHit.cpp): the deepest element under pt (in the
    // parent's coordinates; on the root, document coordinates), or null.
    // Out-of-flow elements first; headings, lists and list items are hit up
    // to their content's right edge; a div is hit itself on the 4-pixel band
    // inside its edges; a row or row group passes the point to a cell that
    // spans beyond it.
    virtual CElement* WhereCursorOn(CPoint pt);
    // 53 (ElementDeleteSelection.cpp): deletes the selected content of the
    // subtree; answers true when the caller must remove this element whole.
    // Wholly marked cells keep one no-break space; dd and dt keep an empty
    // text run.
    virtual bool DeleteSelection();
    // 54: the nearest caret stop in this element to a document point; the
    // base answers 0 (text runs and images override it).
    virtual int GetCloseCursor(CPoint pt, CPoint& best, int&, int&, int);
    // 55: a child answers true, or this element is selected (and
    // selectable, or a table selected whole) and its box in document
    // coordinates holds pt (a div, dd or dt as wide as its content box).
    virtual bool IsCursorInsideSelection(CPoint pt);
    // 56: the base converts the point (PointToElement) and answers 0.
    virtual int LButtonDown(unsigned int flags, CPoint pt, bool&, CPoint&, int&, bool&);
    // 57 (ElementKeys.cpp): a key with the caret before or after an
    // edge-caret element: arrows move the caret, Enter opens an empty p
    // beside it, Delete (Backspace) removes an empty next (previous)
    // sibling, a printable character goes into a new text run beside it.
    // True when handled, with the new caret element, point and length
    // written; false without the edge-caret flag or a parent.
    virtual bool OnChar(unsigned int ch, unsigned int, unsigned int modifiers, bool&, CPoint& caretPoint,
        int& caretLength, CElement*& caretElement, bool);
    virtual int MouseMove(unsigned int flags, CPoint pt); // 58: 0
    virtual int MouseLeaveElement(CPoint pt);             // 59: clears m_hover; 0
    virtual int MouseEnterElement(CPoint pt);             // 60: sets m_hover; 0
    // 61: the path from the root down, each element as "<" + tag + ">"; a
    // text run as "<" + its identifier ("%08X") + " " + its text + ">".
    virtual bool TreeString(CSafeBuf& text);
    // 62 (ElementUnwrap.cpp): the children unwrap first, then neighbouring
    // children of one kind that can wrap are merged when the first accepts
    // the second (CombineWrap); the second is destroyed. True when something
    // merged.
    virtual bool UnwrapElement();
    // 63: for an element with a parent: with mode 1 its own bold (weight back
    // to 100, except on headings), italic and underline marks are cleared and
    // an unset text colour falls back to grey RGB(128, 128, 128); then it
    // inherits again from its parent (CopyFromParent with mode), and every
    // child updates the same way. Answers true.
    virtual bool UpdateElement(int mode);
    // 64 (ElementSelection.cpp): one step of the walk that marks a drag from
    // the element startId to the element endId (points in document
    // coordinates; reverse when dragged backward). inside is true while the
    // walk is between the two; cells (when given) collects once each cell,
    // caption, dd or dt holding something selected. Answers false.
    virtual bool ProcessSelection(long startId, CPoint startPoint, long endId, CPoint endPoint, bool& inside,
        bool reverse, CPtrList* cells);
    // 65 (ElementCaretNear.cpp): the nearest element of the subtree to the
    // document point pt by mode (0 any direction, 1 above, 2 below, 3 left,
    // 4 right) into best and *bestElement; the caller starts with (-1, -1)
    // and null. With stopsOnly only caret stops count; excludeId is left
    // out; reference is the caret element that modes 1 and 2 move away
    // from. On the root a table cell under the point is searched alone
    // first. Answers whether best changed.
    virtual bool FindNearElement(CPoint pt, int mode, CPoint& best, CElement** bestElement, long excludeId,
        bool stopsOnly, CElement* reference); // 65
    // 66: wraps each wholly selected element of the subtree (selectable, no
    // edge caret, not packed before) in a Duplicate of wrapper and marks it
    // and its subtree packed. Answers the copy when this element itself was
    // wrapped, else null.
    virtual CElement* PackSelection(CElement* wrapper);
    virtual bool GetSourceCode(CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&,
        SourceCodeVar* var); // 67
    // 68: GetAttrValue on the style attribute; false without one.
    virtual bool GetStyleString(const unsigned short* property, CSafeBuf& value);
    // 69: with a style attribute, ReplaceStyleString on it, and the attribute
    // is removed when nothing but blanks is left; without one, a non-empty
    // value makes it "property: value" (no ";"). Only the text changes: the
    // caller applies the style. Answers whether a style attribute existed.
    virtual bool SetStyleString(const unsigned short* property, const unsigned short* value);
    virtual bool GetStyleString(const char* property, CSafeBuf& value);             // 70: widens, forwards
    virtual bool SetStyleString(const char* property, const unsigned short* value); // 71: widens, forwards
    // 72: in a right-to-left block, each line's elements in right-to-left
    // order; elsewhere, each bdo child's lines mirrored (RightToLeftLines.cpp).
    virtual bool FixRTLChildren();
    // 73: inside a table, the table's answer; else 0 (the arrow).
    virtual int MouseCursorType(CPoint pt);
    virtual bool CanGetKeyFocus();                 // 74: false (a text run answers true)
    virtual void UpdateExtraAttrs();               // 75: nothing
    virtual bool Notify(int code, CElement* from); // 76
    // 77: walking up while the element is its parent's last child (trailing
    // empty runs passed over with skipEmptyText): the first ancestor that
    // is a table part, list, heading, address, p, blockquote, li, the body,
    // or with divCounts a div; null when the chain breaks first.
    virtual CElement* IsLastElementInBlock(bool skipEmptyText, bool divCounts);
    // 78: the computed style becomes that of a new element (its clear cell
    // kept), the cascade scratch is emptied, UpdateExtraAttrs() runs, the box
    // size is emptied when asked, and the tag's default style is given again.
    virtual void ResetStyle(bool clearBox);
    // 79: clears each group that style sets: the borders; the background
    // colour (white) with the background image; either half of the alignment
    // word; the weight (100) with italic and underline; the text colour
    // (grey RGB(128, 128, 128)). Null does nothing.
    virtual void RemoveStyle(ELEMENT_STYLE* style);
    // 80: this element or a descendant is selected.
    virtual bool CheckHasSelection(int);
    // 81: every selected part of the subtree lies inside an element of kind
    // (21, 22, 23: also a div aligned centre, right, left); the search
    // upward stops at lists, tables, rows, cells and li as the kind allows.
    virtual bool IsSelectionUnderTag(int kind, int);
    // 82: on an image, puts an inline element of kind (or a Duplicate of
    // templ) around it with apply, takes it out of one without; other kinds
    // do nothing here. A text run overrides it. Answers 0.
    virtual int DoSelection(int kind, bool apply, CElement* templ);
    // 83: BreakElement after childId here and after the element on the path
    // in each ancestor up to and including stopId; rest receives the
    // top-most second half, null (and the half dropped) when it holds no
    // content. False when stopId is not an ancestor. ElementSplit.cpp.
    virtual bool SplitUntilParent(CElement** rest, long stopId, long childId);
    // 84: clears the whole-cell marks of the subtree. True.
    virtual bool CleanMark();
    // 85: the markup of the selected part of the subtree into out: a
    // selected element whole, else its own tags around what its children
    // give (the root adds the control's extra namespace declarations).
    // False, out untouched, when nothing is selected.
    virtual bool GetSelectionCode(CSafeBuf& out, int mode, bool);
    // 86: a new element of the same tag, rules, root and owner with a copy of
    // the computed style (its tag-marker label too), the attributes and the size and content
    // rectangles, its parent set but not linked; no children, no text. Null
    // when the factory fails.
    virtual CElement* Duplicate();
    // After the numbered slots: appends to out what GetSourceCode writes,
    // out's text before it untouched. The common writer and text runs write
    // their markup straight into out, so a tree is written into one buffer.
    // A kind that overrides GetSourceCode overrides this too, with
    // AppendWrittenMarkup (MarkupWriter.h).
    virtual bool AppendSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var);

    // The factory also calls SetDefaultStyle (style/cascade/DefaultStyle.h).

    // ==== layout (style/layout/) ====
    // The layout pass gives every element its size (Lay().m_sizeRect), its
    // position in its parent's box (Lay().m_position), its baseline and its line
    // group; style/layout/LayoutPass.h has the entry points a document calls
    // and the model. Lengths are resolved by CalcForAll: the margins from the
    // style (percentages through GetPercentValue, the rest through
    // GetPxValue with the em base), the first-line indent, and the element's
    // entry in the root's float list (floats only); with recurse for the
    // whole subtree, without recursion.
    bool CalcForAll(void* dc, bool keepIndent, bool recurse);
    // Reserves the tag markers' room in the margins (style/paint/TagMarkers.h),
    // measuring the label with the document's marker text objects; clears
    // the boxes of an element without a label. The last step of CalcForAll.
    void CalcForMarker(void* dc, bool);
    // CalcWinReg on the root's context without laying out the children.
    bool ReCalcWin();
    // For this element and every descendant: the size rectangle and the
    // document position (origin plus the position; a float through
    // ElementToScreen) become the previous ones, and the force-repaint mark
    // is cleared. Taken before an edit, so that a partial repaint can tell
    // what moved.
    void GetAreaInfo(CPoint origin);

    // ==== line wrapping (style/layout/InlineWrap.cpp, WrapPieces.cpp) ====
    // The pieces of a wrapped inline element share its wrap-piece group
    // (m_inlineGroup); WrapPieces.cpp has the model.
    //
    // The size of the first part that cannot be broken: a text run's text up
    // to and including its first break opportunity (0 when that is its last
    // character or it has none), an image's width, an inline element's first
    // child wider than 1 pixel; 0 otherwise.
    void GetFirstPartSize(CSize& size);
    // Appends the other pieces of this element's group to out (when given),
    // in document order, and answers its wrap state: 0 not wrapped, -1 the
    // first piece, 1 the last, 2 a middle one.
    int GetWrappedInlineBrothers(CPtrList* out) const;
    // After this piece's attributes changed: every other piece takes a copy
    // of them and refreshes its style.
    void ChangeWrappedInlineElement();
    // Before a structural edit over the range from the first to the last
    // entry of list (at least two elements, in document order, not all under
    // one parent): the ancestors of the first entry are split before it and
    // those of the last after it, up to the entries' nearest common
    // ancestor, so that the range begins and ends at children of that
    // ancestor; every entry is then replaced by its ancestor that is a child
    // of the common ancestor, each such child listed once, in order. False,
    // and nothing changed, for fewer than two entries, a null entry, entries
    // under one parent, no common ancestor or an entry that holds the others.
    // ElementSplit.cpp.
    bool ReunionElements(CPtrList* list);

    // ==== floats (style/floats/) ====
    // All floats of a document stand in the root's float list (m_floatList),
    // entered by CalcForAll. A float counts for the content after it only
    // once the current layout pass placed it (or, in a pass over part of the
    // tree, when it comes first in document order), while it is in the tree,
    // and when child and float share their floating ancestor and table cell.
    //
    // How far the child at pos (in this element's box) must move to keep clear
    // of the document's floats: leftRoom.x to the right, leftRoom.y down
    // (below a float the child clears); rightRoom.x is the room right floats
    // take on the child's line. Right floats sharing the child's line are
    // appended to rightFloats when given. With sameBlockOnly only floats of
    // the child's nearest block count; a context whose flag is set leaves
    // out floats reached only through table parts, lists or more than one
    // block level. False when nothing was tested.
    bool CalcValidPosition(CElement* child, CPoint pos, CPoint& leftRoom, CPoint& rightRoom,
        CPtrList* rightFloats, bool sameBlockOnly, CalcInfo* info);
    // Widens rect (this element's coordinates) to cover every float in this
    // element's table cell (anywhere outside tables when it has none).
    void GetMaxAreaWithFloat(CRect& rect);
    // Grows the size rectangle to hold every float below this element (margin
    // boxes).
    void CalcAreaAccordingToFloat();
    // For a line in document coordinates, the summed widths (margin boxes) of
    // the floats that overlap it: left floats into left.x, right ones into
    // right.x.
    void GetFloatWidthOfLine(CRect line, CPoint& left, CPoint& right);
    // With 1, and when the document has floats: every float met before the
    // first content of this element (descendants in order, up to a block
    // that does not float, a text run with text or an empty inline element)
    // gets y = this element's top border (0 in a cell).
    void AdjChildFloat(int mode);
    // The nearest ancestor that floats, or null.
    CElement* IsUnderFloat() const;
    // Whether the next (or previous) sibling floats.
    bool IsBrotherFloatElement(bool next) const;
    // The nearest sibling that neither floats nor is an empty text run (a
    // text run counts when it has text or this is a list), walking up through
    // the ancestors up to a cell or caption; a div or an inline custom
    // element holding a block is entered for its first (or last) child that
    // does not float. Null when none.
    CElement* GetPositionBrother(bool forward);
    // Enters this element in the root's float list when its style floats,
    // takes it out when it no longer does.
    void UpdateFloatList();

    // ==== painting (style/paint/) ====
    // The body (kind 1) owns the document's offscreen bitmap context (m_dc);
    // every other element paints into it at its accumulated offset. dc is
    // that context (a qm::cg::Context*), null meaning the body's own.
    //
    // Full layout of this subtree (BuildCDC, CalculateReg), then, on the
    // body, PrepareBitmap and a paint of the whole document into the
    // bitmap's resident tiles (style/paint/OffscreenView.h). False when the
    // bitmap cannot be had (nothing is painted) or painting failed.
    bool Draw(void* dc);
    // Paints this element and its descendants at origin (the parent's
    // document position). A float is skipped unless floatPass is set. The
    // body then runs the float pass. Iterative: any depth paints.
    void DrawPaint(void* dc, CPoint origin, bool floatPass);
    // The float pass: every float below this element (not inside another
    // float) painted on top of the flow; an exception while painting one
    // float ends the pass quietly. Nothing when the document has no floats.
    void DrawElement(void* dc, int, CPoint origin);
    // Compares the tree with the geometry recorded at the last paint: an
    // element that moved, changed size, is new or is marked for forced repaint
    // is marked changed, and the rows its old and new painting cover (and
    // those of elements removed since) become dirty. Body only.
    void CleanChanged(void* dc, CPoint origin);
    // Repaints the dirty rows from the body down (clipped to them) and
    // records the new geometry; the changed and force marks are cleared.
    void RedrawChanged(void* dc, CPoint origin);
    // Code 3 re-lays this element out and decides between 2 and 4 from its
    // place against the element after it; then the parent's Notify(code,
    // this) (this element's own without a parent).
    bool SendNotification(int code);
    // Moves rect, keeping its size, to the element's document position.
    void ElementToDocument(CRect& rect);

    // ==== cascade (style/cascade/) ====
    // Applies the rules that match the element: its extra rule list (each
    // rule at the precedence it was collected with), then the matching rules
    // of the document's working sheet and of the editor's sheet (at the
    // specificity of their first matching selector), lowest precedence first
    // and, among equals, in that order, so the most specific and then the
    // latest rule wins; each merged with origin 3. Then CopyFromParent(parent,
    // 4) and SetAttrFromStyle. An element without an owner reads its own
    // rule list. False for a text run (no tag).
    bool ApplyCSS(const unsigned short* tag, bool);
    // Appends to out the rules of the document's working and editor sheets
    // that match a stand-in element (tag and attributes), each rule's
    // precedence set to the specificity of its first matching selector: the
    // extra rule list of a table cell (the rules of its column group).
    void GetCSSFromExtra(CPtrList* out, const unsigned short* tag, CMapStringToString* attributes);
    // Presentational attributes (of both attribute maps) into the style:
    // colspan, rowspan, cellspacing, cellpadding, border, width, height,
    // align, valign and dir (style/cascade/AttributeStyle.cpp).
    void ApplyAttrSyle();
    void LoadAttributeStyle(CSafeBuf& name, CSafeBuf& value);

private:
    // Whether c may be linked into this element's list.
    bool CanLink(const CElement* c) const;
    void LinkAfter(CElement* c, CElement* ref);
    void LinkBefore(CElement* c, CElement* ref);
};
