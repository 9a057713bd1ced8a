#pragma once
// CTextElement: a run of text: the characters of the document (empty tag
// name). Made only by the element factory, which stores the final kind code.
//
// The run measures and draws itself with a text style and a text layout of
// its own (platform/text), set up from the font the layout pass resolved for
// it. What is measured and drawn is the display text: the run's own text, or
// a copy of it changed by text-transform and with every TAB expanded to the
// next multiple of 8 columns. The stored text, the caret and the selection
// never see those changes: offsets into the text are mapped into the display
// text where they are measured, and back where a click is turned into an
// offset. The layout shapes the display text once and answers every prefix
// width from that shaping.
//
// Box: the typographic bounds of the display text (pen positions across,
// ascent to descent down), baseline 4 pixels above the bottom. An empty run
// is 0 wide and one line high. The line height is the ink height of "Yg" in
// the run's font.
//
// Wrapping (the line wrapper asks): the run keeps the longest part that fits
// and ends after a break opportunity (IsCanWrapChar); the rest goes to the
// next sibling when that is a piece of the run, else to a new run that the
// caller inserts after this one. Pieces are joined again (CombineWrap)
// before the next layout.
//
// A long rest is cut into pieces a few lines wide at once, so that no line
// measures or copies the whole rest of a long paragraph again. The cuts do
// not show in the lines: a piece is cut at a word start after a blank where
// its text was put together from words (Layout::ByWords), or after a break
// opportunity where it was shaped whole (right-to-left, Chinese, symbols:
// its parts measure as in the whole but for the shaping across the cut), and every
// piece followed by a piece cut for length is wider than any line of its
// block and holds a word start of its own. So such a piece never fits a line
// whole and breaks where the whole rest would; its rest goes into the next
// piece unless it is again that wide (RestFillsLines).
//
// A run that is the only content of inline elements (<b><i>text</i></b>) is
// cut the same way: the inline elements around it then put each piece cut
// for length into a duplicate of their own (InlineWrap.cpp), so that each
// line lays out a few lines of text, and the rest of a line goes into the
// run of the next such duplicate. Those duplicates stand between the first
// and the last piece and show no edges of their own.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "element/Element.h"

namespace qm::text {
class Layout;
class Style;
struct TextRect;
} // namespace qm::text

// Line-break opportunities of text: a line may break after a blank, one of
// ) ? * % ! } ] -, the code units 150 and 248, and any unit above 10000.
bool IsCanWrapChar(unsigned short ch);

// Columns of the TAB stops in the display text.
constexpr int kTextTabWidth = 8;
// The highlight drawn behind selected characters.
constexpr unsigned long kTextHighlightColour = RGB(181, 213, 255);

class CTextElement : public CElement
{
public:
    explicit CTextElement(STYLE_CLASS* rules);
    ~CTextElement() override;

    // Normalises text read from markup: the caret marker word is taken out
    // (its first offset kept in m_cursorMark, -1 when absent); a leading run
    // of TABs, LFs and CRs becomes one blank where the run follows inline
    // content of the same line in the tree (an inline sibling, or text, that
    // does not end in white space) and goes at the start of a block's
    // content, after a block, a line break or white space; a trailing run of
    // them becomes one blank; every run of blanks, TABs, LFs and CRs
    // collapses to one blank (other control characters neither start nor
    // end a run). The run should stand in its place in the tree.
    void ValidateText();

    // Slot 67. Flag 0x80: the text unescaped (with 0x800 only the selected
    // characters). Otherwise one TAB per level with flag 0x1, the text
    // escaped for XML (outside a pre, when the engine preserves spaces, a
    // blank after a blank, the run before's last one included, as &#160;),
    // and with 0x8000 the caret or selection markers; flag 0x8 wraps it in
    // <text>...</text> with the selection as an attribute.
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    bool AppendSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;
    // Whether the text is written with its blanks after blanks as &#160;.
    bool WritesBlankRuns() const;
    // What stands before the run in its block, for its first blank.
    enum BlankContext
    {
        kNoBlank,     // text that does not end in a blank, or another element
        kBlankBefore, // text that ends in a blank
        kBlockStart   // nothing: the run starts its block
    };
    BlankContext WhatIsWrittenBefore() const;
    // Units from..to of the text, escaped, into out.
    void AppendRunText(CSafeBuf& out, int from, int to, bool spaces, BlankContext before) const;

    // ---- font and display text (TextElementFont.cpp) ----
    // Slot 8: the base font set-up. True. (Inside a link, SetTextFont
    // underlines the run unless a text-decoration between it and the
    // anchor says none.)
    bool LoadCDCSetting(void* dc) override;
    // Loads the resolved font and the run's colour into the text style, the
    // line height ("Yg" ink height, raised to the typographic height less 4
    // when that is larger) and the display text into the layout.
    void SetTextFont();
    // Slot 13: a run can always be split across lines.
    bool IsCanWrap() override { return true; }
    // Slot 36: the base DrawUncalc, then SetTextFont.
    bool DrawUncalc() override;
    // Mask: 1 when a text-transform other than none applies to the run (its
    // own or the nearest ancestor's), 2 when the text holds a TAB.
    int ShouldTransform() const;
    // Upper-, lower-case or capitalises text (ASCII letters only) by the
    // text-transform that applies; none or unset leaves it.
    void ApplyTextTransform(CSafeBuf& text) const;
    // The colour the run is drawn in: inside a link, the outermost colour set
    // between the run and the anchor (the anchor included), blue when none
    // is; elsewhere the run's computed colour, black when it has none.
    unsigned long GetRunColor() const;

    // ---- box and caret (TextElementFont.cpp) ----
    // Slot 11: the run's own box and baseline. True.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 50: the caret's bottom end for offset (-1: the caret offset), in
    // screen coordinates: x after the first offset characters, y the larger
    // of line height + 2 and the typographic height - 2. True.
    int GetKeyPos(CPoint& pt, int offset) override;
    // Slot 48: line height + 4.
    int GetKeyLen() override;
    // Slot 74: a run always takes the caret.
    bool CanGetKeyFocus() override { return true; }
    // Slot 44: a run inside an anchor without href (link state 2) is framed
    // 2 pixels wide in blue on every side (solid unless it has borders of its
    // own); otherwise the base borders.
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;

    // ---- wrapping (TextElementWrap.cpp) ----
    // Slot 12. See the top of this file. Answers the new run holding the rest
    // (not linked: the caller inserts it after this run), null when the rest
    // went into the next text sibling or the run is empty, or this run when
    // nothing could be split (narrower room than the font size unless forced,
    // no break opportunity that fits). force splits after the first break
    // opportunity whatever its width.
    CElement* WrapElement(CSize& room, bool force) override;
    // Slot 28: appends the text of a following piece of this run, with its
    // selection and caret. True; the caller removes the piece.
    bool CombineWrap(CElement* piece) override;
    // Joining pieces before a layout (JoinWrappedPieces): the piece's text
    // style and layout, and the ones it kept, are kept by this run, in
    // order, for the pieces the wrapping of this run makes again: a piece
    // that gets the text it had keeps its shaping. Dropped when the block's
    // lines are laid out (DropSpareLayouts).
    void KeepSpareLayouts(CTextElement* piece);
    void DropSpareLayouts();
    bool HasSpareLayouts() const { return m_spares != nullptr; }
    // After a split that left this run oldLength long: the part of its
    // selection beyond its new length moves to piece.
    void DivideSelection(CElement* piece, int oldLength);
    // Slot 37: raises size.cx to the widest piece between break
    // opportunities (cached until the text or font changes).
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Puts text in front of the next sibling's text when that sibling is a
    // text run (carrying the caret and a selection beyond this run's length
    // over); false, nothing changed, when it is not. With `to`, in front of
    // that run's text instead (a piece of this run in the next piece of an
    // inline element around it).
    bool MoveTextToBrother(const CSafeBuf& text, CTextElement* to = nullptr);
    // Cut for length, where no line ended (see the top of this file).
    bool CutForLength() const { return m_cutForLength; }
    // Splits the run at offset (1 .. length - 1): a new run holding the text
    // after it, inheriting from this run, is inserted after it; the
    // selection is divided and a caret past the offset moves with its text.
    // Null, nothing changed, without a parent or for another offset. With
    // inPlace the text kept is cut where it stands, keeping its room (for a
    // run cut at many offsets from the back, whose room is fitted once).
    CTextElement* SplitText(int offset, bool inPlace = false);
    // Whether long rests are cut for length (on unless turned off): off,
    // every rest is laid out whole, the lines the cuts must not change.
    static void EnableCutsForLength(bool on);
    // Width and height of the text up to and including the first break
    // opportunity; 0 x 0 when that is the last character or there is none.
    void GetTextFirstPartSize(CSize& size);

    // ---- clicks and painting (TextElementPaint.cpp) ----
    // Slot 54: for a document point inside the run, the caret point
    // (screen coordinates), its length and the offset nearest the point
    // (after a character when the point lies in its right half). 0 when the
    // point lies outside the run.
    int GetCloseCursor(CPoint pt, CPoint& caretPoint, int& caretLength, int& offset, int) override;
    // Slot 56: a click puts the caret offset where GetCloseCursor says.
    int LButtonDown(
        unsigned int flags, CPoint pt, bool& handled, CPoint& caretPoint, int& caretLength, bool&) override;
    // Slot 41: draws the display text with its baseline at origin.y + box
    // height - 4 (document coordinates, flipped against the offscreen
    // bitmap's height) and the selected characters over the highlight. True.
    bool SelfPaint(void* dc, CPoint origin) override;
    // The rows SelfPaint may touch, against the run's position (top
    // included, bottom not): its glyphs' ink, the highlight and the
    // decoration lines about the baseline, which can reach beyond the box
    // (descenders of a large font, a box made shorter than its text).
    // Measured on the display text as last laid out; false when that is
    // empty.
    bool PaintedRows(int& top, int& bottom);
    // A digest of what SelfPaint draws, wherever it draws it: the display
    // text as last laid out, the font, colour and decorations, the line
    // direction and the selection. The painter records it with the run's
    // geometry; a quick repaint repaints a run whose digest changed
    // although its box did not. Cheap: the text is digested once a layout.
    std::size_t PaintedLook();
    std::size_t m_paintedLook = 0;

    // ---- selection (TextElementSelect.cpp) ----
    // Slot 64: on the start or end run the points become character offsets
    // (a character is selected when the caret position before it lies
    // between the two points); a run between them toggles whole. Adds the
    // cell holding a selected run to cells. False.
    bool ProcessSelection(long startId, CPoint startPoint, long endId, CPoint endPoint, bool& inside,
        bool reverse, CPtrList* cells) override;
    // Splits the run so that characters start .. end (held to the text) are
    // a run of their own, inserted after the part before them; the
    // selection and the caret follow their characters. Answers that run
    // (this one when it already is exactly the range), null for an empty
    // range.
    CTextElement* DivideElement(int start, int end);
    // Slot 82: with apply puts an inline element of kind (or a Duplicate of
    // templ) around the selected characters, without it takes them out of
    // one. True when the tree changed.
    int DoSelection(int kind, bool apply, CElement* templ) override;
    // Slot 66: the selected characters, when the run is not in a link yet,
    // wrapped in a Duplicate of the link wrapper.
    CElement* PackSelection(CElement* wrapper) override;
    // Slot 53: deletes the selected characters; a caret after them moves
    // left by their number, one inside them to where they began. True,
    // nothing changed, when the whole text is selected: the caller removes
    // the run.
    bool DeleteSelection() override;
    // Slot 55: pt lies in the run and between the painted selection's edges.
    bool IsCursorInsideSelection(CPoint pt) override;
    // The selected characters, plain; out is left alone without a selection.
    // Answers whether there was one.
    bool GetSelectedText(CSafeBuf& out) const;
    // Slot 85: the selected characters escaped for XML into out; false, out
    // left alone, without a selection.
    bool GetSelectionCode(CSafeBuf& out, int mode, bool) override;

    // ---- typing (TextElementTyping.cpp, TextElementReturn.cpp,
    // TextElementWords.cpp, TextElementMerge.cpp) ----
    // Slot 57: a key with the caret in this run. ch is a printable character
    // (inserted at the caret), Return 13 (splits the paragraph or item; a
    // line break inside pre; nothing inside dt), Backspace 8 and Delete 127
    // (a character, or merging with the neighbouring block at the run's
    // edge), or the arrows 28 and 29 (a character, or a word with Option or
    // Control held). True when the key was handled; then caretPoint and
    // caretLength hold the caret of the element that has it and caretElement
    // is set when that is another element. quiet suppresses the structure
    // notifications of the paragraph-making paths.
    bool OnChar(unsigned int ch, unsigned int repeat, unsigned int modifiers, bool&, CPoint& caretPoint,
        int& caretLength, CElement*& caretElement, bool quiet) override;
    // Slot 32: text typed or pasted at the caret. Outside pre, runs of
    // blanks collapse and line ends, TABs and control characters become one
    // blank after a kept character or go. A run that holds only the empty
    // paragraph's place holder (one U+00A0) loses it. False for an empty text.
    bool InsertText(const unsigned short* text) override;
    // Slot 33: splits the run at its caret offset: a new run holding the text
    // after the caret is inserted after it and takes the document's caret
    // when this run had it. The arguments are not used. Null without a
    // parent.
    CElement* BreakElement(long childId, bool force) override;
    // The caret offset of the next word boundary from from (-1: the caret
    // offset) forward or backward; -1 when the run's edge comes first. A
    // character below 128 that is no ASCII letter or digit is a symbol;
    // everything from 128 up belongs to words.
    int FindNextWord(bool forward, int from);
    // Merges across the run's edge: backward (Backspace at offset 0) or
    // forward (Delete at the end). True when the tree changed; caretElement
    // receives the element that takes the caret (TextElementMerge.cpp).
    virtual bool CutAndCombine(CElement*& caretElement, bool forward);

    // ---- measuring, for the line wrapper and tests ----
    // The text that is measured and drawn (rebuilt from the text when unset).
    const CSafeBuf& DisplayText();
    // Width of the first n units of the display text, rounded.
    int DisplayWidth(int n);
    // Typographic height of the run's font.
    int TypographicHeight();
    int LineHeight() const { return m_lineHeight; }
    int MinWrapWidth() const { return m_minWrapWidth; }
    // Offsets between the text and the display text (they differ only where
    // TABs were expanded).
    int ToDisplayOffset(int textOffset) const;
    int ToTextOffset(int displayOffset) const;
    // Made when first asked for.
    qm::text::Style& TextStyle();
    qm::text::Layout& TextLayout();

    // Where the caret marker stood in the text when it was normalised; -1
    // when it held none. The document puts the caret there after loading.
    int m_cursorMark = -1;
    // TextElementCaret.cpp: with a noted marker the caret offset becomes its
    // offset (within the text) and the note is dropped; false without one.
    bool TakeCursorMark();
    // x of the painted selection's left and right edges inside the run.
    CPoint m_selStartPoint;
    CPoint m_selEndPoint;

private:
    // Return (TextElementReturn.cpp): false when not handled; notify
    // receives the notification to send, moved the new caret element.
    bool ReturnKey(unsigned int repeat, bool quiet, CElement*& moved, int& notify);
    // Before typed is inserted at the caret: the no-break space an edit
    // held right beside the caret (CXDocServices::m_heldBlankBlock) becomes a
    // blank again, as typed comes between it and the edge, unless it would
    // then collapse with a blank beside it. A record of the run's block is
    // used up either way; one of another block is kept for when the caret
    // comes back there. Answers whether the held no-break space was still there (the
    // caller then holds the blanks at the block's edges again).
    bool ReleaseHeldBlank(unsigned short typed);
    // The arrows (TextElementWords.cpp): the caret moves inside the run or
    // to a neighbouring element, which is answered.
    CElement* MoveByCharacter(bool forward);
    CElement* MoveByWord(bool forward);
    int BoxWidth() const { return Lay().m_sizeRect.right - Lay().m_sizeRect.left; }
    int BoxHeight() const { return Lay().m_sizeRect.bottom - Lay().m_sizeRect.top; }
    bool HasOwnSelection() const { return m_selected && m_selStart <= m_selEnd; }
    // Points the display text at the text or at its transformed copy, and
    // hands it to the layout when it changed.
    void BuildDisplayText();
    // The layout holds the run's text as it stands, with no TAB in it. What
    // was found so is noted with the layout's text stamp and the text's
    // change count, so a text that did not change is not compared again.
    bool LayoutShowsPlainText();
    void NoteShownText();
    // The text-transform that applies: the run's own or the nearest
    // ancestor's; 0 when none does.
    int TextTransformCode() const;

    // Cutting a long rest (TextElementWrap.cpp). A new run that inherits from
    // this one and joins its pieces (not linked, no text); null when none
    // could be made.
    CTextElement* NewPiece();
    // What a piece followed by a piece cut for length must be wider than: the
    // width of the block's lines and a margin; -1 when this run may not be
    // cut at a room this wide (see the top of this file).
    double WidestLine(int room);
    // The element that stands for this run among the block's children: the
    // run, or the outermost inline element around it of which it is the only
    // content (each element of the chain its parent's only child).
    const CElement* OnlyContentChain() const;
    // Where the rest goes when this run is the last of inline pieces cut
    // for length: the first run of the next piece of the outermost of them,
    // at the same depth, when that run is a piece of this one cut for
    // length; null otherwise.
    CTextElement* PieceInNextInline() const;
    // The rest from restStart may stand in a piece of its own before a piece
    // cut for length: it is wider than WidestLine and holds a word start.
    bool RestFillsLines(int restStart, int room);
    // Where a part cut for length may start, from unit on: a word start of
    // a text put together from words, the unit after a break opportunity of
    // a text shaped whole; the text's length when there is none.
    int CutPointFrom(int unit);
    // Where a long rest from restStart is cut: word starts after a blank, each
    // part at least two WidestLine wide and holding a word start; none when
    // the rest is short or the run may not be cut.
    std::vector<int> CutsForLength(int restStart, int room);
    // Moves the text from each cut on into a piece cut for length, inserted
    // after this run, with its part of the selection and the caret. Answers
    // how many were made (from the back: fewer when a piece could not be had).
    int MakeCuts(const std::vector<int>& cuts);

    void MakeTextLayout();
    // SetTextFont, answering the typographic bounds of the whole display
    // text (all 0 when it is empty).
    void SetTextFont(qm::text::TextRect& whole);
    // A new piece made by from's wrapping takes the first layout from kept,
    // and the rest with it.
    void TakeSpareLayout(CTextElement& from);
    // The run's style and the layout set in it (TextRunParts.h).
    struct RunText;
    typedef std::unique_ptr<RunText> SpareLayout;
    std::unique_ptr<std::vector<SpareLayout>> m_spares;
    std::unique_ptr<RunText> m_runText;      // made when first asked for (TextStyle, TextLayout)
    const CSafeBuf* m_displayText = nullptr; // m_text or m_transformed
    std::unique_ptr<CSafeBuf> m_transformed; // made for the first run that transforms
    // With TABs expanded: the display column at which each unit of the text
    // (and the end) starts; null when offsets are the same in both (held
    // apart: few runs hold a TAB).
    std::unique_ptr<std::vector<int>> m_tabColumns;
    // Counts the changes of the layout's text and font.
    unsigned m_displayVersion = 1;
    int m_minWrapWidth = 0;
    // The piece starts where a long run was cut for length, not where a line
    // ended (see the top of this file); cleared when text is put before it.
    bool m_cutForLength = false;
    // GetMinSize's answer and the display version it was measured for.
    int m_minWidth = 0;
    unsigned m_minWidthVersion = 0;
    // PaintedRows' extent about the baseline, and the display version and
    // decorations it was measured for.
    int m_drawnTop = 0;
    int m_drawnBottom = 0;
    unsigned m_drawnVersion = 0;
    int m_drawnDecorations = -1;
    // LayoutShowsPlainText's note: the text's change count and the layout's
    // text stamp when it last answered true (0: never).
    std::uint32_t m_shownTextChanges = 0;
    // The digest of the display text, and the display version it is of.
    std::size_t m_textDigest = 0;
    unsigned m_digestVersion = 0;
    int m_lineHeight = 0;
    std::uint64_t m_shownLayoutStamp = 0;
};
