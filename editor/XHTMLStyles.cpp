// Applying a style drop-list item. ProcessTagBox is the drop-list's entry:
// it picks the row, lets ProcessStyle apply the item and shows the outcome
// in the drop-list (current row, the item's mark, whether the marks must
// be computed again). ProcessStyle chooses the path by the item's element:
// block items reshape blocks (ProcessHeading), font items are the inline
// formatting of the buttons (DoFontButton), "div" and "blockquote" wrap
// blocks, and any other element wraps the selected runs. An item that is
// marked (it applies at the caret) is taken off again where that makes sense.

#include "editor/XHTML.h"

#include "editor/InsertSupport.h"
#include "editor/SelectedElements.h"
#include "editor/StyleBarItem.h"
#include "editor/StyleItemElement.h"
#include "element/Element.h"
#include "element/ElementKinds.h"

#include "base/collections/StringList.h"
#include "base/text/XmlChars.h"

namespace {

// The row value ProcessStyle leaves to choose the first row, or to leave
// the current row as it is.
constexpr int kRowFirst = -2;
constexpr int kRowUnchanged = -3;
// The edit guard's sub-code for a style item.
constexpr long kSubCodeStyleItem = 11;
// The guard judges a style item by its path: 0 inline or wrapper, 1 block,
// 2 font.
long GuardClass(StyleItemPath path)
{
    switch (path) {
    case StyleItemPath::kBlock: return 1;
    case StyleItemPath::kFont: return 2;
    default: return 0;
    }
}

// Element kinds of the font codes.
long FontKind(int code)
{
    switch (code) {
    case 2: return kKindB;
    case 3: return kKindI;
    case 7: return kKindStrong;
    case 8: return kKindEm;
    default: return 0;
    }
}

// ProcessHeading's ending held over a run of blocks; let go however the run
// ends.
class HeadingsHeld
{
public:
    explicit HeadingsHeld(CXHTML& engine) : m_engine(engine)
    {
        m_engine.m_headingsHeld = true;
        m_engine.m_headingsChanged = false;
    }
    ~HeadingsHeld() { m_engine.m_headingsHeld = false; }
    HeadingsHeld(const HeadingsHeld&) = delete;
    HeadingsHeld& operator=(const HeadingsHeld&) = delete;

private:
    CXHTML& m_engine;
};

} // namespace

void CXHTML::OnHeading() { ProcessTagBox(-1, nullptr); }

void CXHTML::StyleItemChanged(unsigned int id)
{
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (item->commandId == id) {
            StyleSetCurSel(item->index);
            OnHeading();
            return;
        }
    }
}

void CXHTML::ProcessTagBox(int index, STYLE_BAR_ITEM* item)
{
    CElement* caret = CaretElementInTree();
    const bool selection = m_doc.m_selectionPresent != 0;
    if (!selection && (!caret || caret->m_edgeCaret)) {
        if (index == -1)
            StyleSetCurSel(-1);
        return;
    }
    const int row = index == -1 ? StyleGetCurSel() : index;
    if (row < 0) {
        StyleSetCurSel(-1);
        return;
    }
    // The typing before the item is an undo step of its own.
    m_doc.TakePendingChange();
    if (row == 0) {
        // "None": every selected element (or the caret's element) loses
        // the tags that may not stand around it.
        if (selection) {
            for (long id : SelectedElementIds(m_doc.m_root)) {
                if (CElement* e = m_doc.FindElement(id))
                    m_doc.RemoveUnexpectTag(e);
            }
        } else {
            m_doc.RemoveUnexpectTag(caret);
        }
        StyleRemoveMarks();
        m_styleListState = 1;
        StyleSetCurSel(-1);
        DocDrawDoc();
        DocUpdateKeyCursor();
        m_doc.Redraw();
        DisplayTagBox();
        NotifyChange(true);
        return;
    }
    if (!item)
        item = GetTagBoxItem(row);
    if (!item) {
        StyleSetCurSel(-1);
        return;
    }
    bool marked = false;
    bool done = false;
    bool refreshBox = false;
    int shown = row;
    if (!ProcessStyle(item, StyleIsTagChecked(row), marked, done, refreshBox, shown, 0)) {
        StyleSetCurSel(-1);
        return;
    }
    if (shown == kRowFirst)
        SetTagSelItem(-1);
    else if (shown != kRowUnchanged)
        StyleSetCurSel(shown);
    StyleSetItemMark(row, marked ? 0 : 1);
    if (done)
        m_styleListState = 1;
    if (refreshBox)
        DisplayTagBox();
}

bool CXHTML::ProcessStyle(
    STYLE_BAR_ITEM* item, bool checked, bool& marked, bool& done, bool& refreshBox, int& row, int headingMode)
{
    marked = false;
    done = false;
    refreshBox = false;
    if (!item)
        return false;
    // An element name that is not an XML name (the page writes style
    // definitions as it likes) makes no element: the document would be
    // written as markup that does not read again.
    if (item->element[0] && !IsXmlName(item->element))
        return false;
    // A selection's blocks are reshaped one by one, each reporting its edit.
    ChangeBatch batch(*this);
    const StyleItemKind kind = ClassifyStyleItem(*item);
    const bool selection = m_doc.m_selectionPresent != 0;

    // A pre holds no pictures, objects or size and position changes of
    // text: a block holding one cannot become one.
    if (kind.path == StyleItemPath::kBlock && IsStyleItemElement(*item, "pre")) {
        CStringList tags;
        for (const char* tag : {"img", "object", "big", "small", "sup", "sub"})
            tags.AddTail(CSafeBuf(tag));
        if (!ValidateSelection(&tags, true)) {
            DisplayMessageBox("message-box/cannot-insert-into-given-location");
            return false;
        }
    }
    if (!m_doc.CanDocumentBeChanged(
            qm::insert::kActionCommand, nullptr, kSubCodeStyleItem, GuardClass(kind.path), item->element)
        || !m_doc.CanInsertTo(nullptr, item->element, nullptr, true))
        return false;

    const bool toggle = !IsStyleItemElement(*item, "u") && !IsStyleItemElement(*item, "strong")
        && !IsStyleItemElement(*item, "em");
    if (kind.path == StyleItemPath::kInline && checked && toggle) {
        RemoveTagByItem(item);
        done = true;
        EndEdit();
        return true;
    }

    int blockCode = kind.code;
    if (kind.path == StyleItemPath::kInline
        && (IsStyleItemElement(*item, "div") || IsStyleItemElement(*item, "blockquote"))) {
        switch (WrapBlocksInStyle(*item)) {
        case StyleWrap::kWrapped:
            marked = true;
            done = true;
            return true;
        case StyleWrap::kNothing: return true;
        case StyleWrap::kBlockPath: blockCode = 9; break;
        case StyleWrap::kInlineRuns: break;
        }
    }

    if (kind.path == StyleItemPath::kBlock || blockCode == 9) {
        if (!selection) {
            const int answer = ProcessHeading(blockCode, CaretElementInTree(), headingMode, item);
            if (answer > 0) {
                marked = true;
                refreshBox = true;
                done = true;
                row = kRowUnchanged;
            } else if (answer < 0) {
                done = true;
            }
            return true;
        }
        {
            HeadingsHeld held(*this);
            for (long id : SelectedElementIds(m_doc.m_root)) {
                if (CElement* e = m_doc.FindElement(id))
                    ProcessHeading(blockCode, e, checked ? 2 : 1, item);
            }
        }
        if (m_headingsChanged)
            FinishHeadings();
        if (!checked) {
            marked = true;
            refreshBox = true;
            row = kRowUnchanged;
        }
        done = true;
        return true;
    }

    if (kind.path == StyleItemPath::kFont) {
        if (selection) {
            DoFontButton(kind.code, item);
            done = true;
            return true;
        }
        CElement* caret = CaretElementInTree();
        CElement* font = caret ? caret->IsElementUnderTag(FontKind(kind.code)) : nullptr;
        if (!font || !font->m_parent) {
            row = -1;
            return false;
        }
        RemoveInlineBrothers(font, false);
        if (m_doc.IsElementExist(font) && font->m_parent) {
            CElement* parent = font->m_parent;
            parent->RemoveChildNodeOnly(font->GetID());
            parent->StyleChanged(1);
        }
        done = true;
        EndEdit();
        return true;
    }

    return WrapRunsInStyle(*item, checked, done, refreshBox, row);
}
