// The command table: every editing command of the WYSIWYG view has a number,
// and toolbar buttons, the context menu, the key map, the style drop-list,
// script calls and the table-size picker all ask for one through
// PostMessage, which runs it at once.
//
// The table is data: one entry per identifier, saying which member carries
// the command out and with which codes. Identifiers inside the editing band
// that the table does not list do nothing.

#include "editor/XHTML.h"

#include "editor/StructuralFlag.h"

#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "source_view/ColoringEditor.h"

#include <algorithm>
#include <iterator>

namespace {

using Call = CXHTML::CommandCall;

constexpr unsigned int kMessageCommand = 1;
constexpr unsigned int kMessageDrawTable = 1100;

constexpr unsigned int kFirstPageMenuEntry = 38000;
constexpr unsigned int kFirstToolbarCommand = 36000;
constexpr unsigned int kFirstStyleItem = 34000;
constexpr unsigned int kLastStyleItem = 35999;

// Alignment codes of DoAlignTable in command order: left, center, right
// (align), top, middle, bottom (valign); scopes: 4 cells, 1 rows, 2 columns.
constexpr int kAlignLeft = 0x10, kAlignCenter = 0x20, kAlignRight = 0x40;
constexpr int kAlignTop = 1, kAlignMiddle = 2, kAlignBottom = 4;
constexpr int kScopeCells = 4, kScopeRows = 1, kScopeColumns = 2;

constexpr CXHTML::CommandEntry M(unsigned int id, void (CXHTML::*member)())
{
    return {id, Call::kMember, member, 0, 0};
}
constexpr CXHTML::CommandEntry C(unsigned int id, Call call, int code = 0, int scope = 0)
{
    return {id, call, nullptr, code, scope};
}

// Sorted by identifier (FindCommand searches it by halves).
constexpr CXHTML::CommandEntry kCommands[] = {
    M(12001, &CXHTML::OnSource),
    M(12002, &CXHTML::OnPreview),
    M(12004, &CXHTML::OnBlind),
    C(32768, Call::kMember), // DoProperty answers a bool: see Run
    M(32773, &CXHTML::OnInserttable),
    M(32775, &CXHTML::OnInserthr),
    M(32780, &CXHTML::OnInsertrow),
    M(32781, &CXHTML::OnInsertcol),
    M(32782, &CXHTML::OnRemoverow),
    M(32783, &CXHTML::OnRemovecol),
    M(32789, &CXHTML::OnFontbold),
    M(32790, &CXHTML::OnFontitalic),
    M(32792, &CXHTML::OnInsertimg),
    M(32793, &CXHTML::OnInserthref),
    M(32795, &CXHTML::OnEditlink),
    M(32796, &CXHTML::OnRemovelink),
    M(32797, &CXHTML::OnInsertcolbefore),
    M(32798, &CXHTML::OnInsertrowabove),
    M(32799, &CXHTML::OnMergecells),
    M(32800, &CXHTML::OnSplitcell),
    C(32801, Call::kList, 24),
    C(32802, Call::kList, 25),
    M(32803, &CXHTML::OnMoveleft),
    M(32804, &CXHTML::OnMoveright),
    C(32805, Call::kModifyAlign, 32),
    C(32806, Call::kModifyAlign, 64),
    M(32807, &CXHTML::OnHeading),
    M(32811, &CXHTML::OnCut),
    M(32812, &CXHTML::OnCopy),
    M(32813, &CXHTML::OnPaste),
    M(32814, &CXHTML::OnUndo),
    C(32815, Call::kFontButton, 6),
    C(32816, Call::kModifyAlign, 16),
    M(32817, &CXHTML::OnRemovetable),
    M(32818, &CXHTML::OnDelete),
    C(32819, Call::kAlignTable, kAlignLeft, kScopeCells),
    C(32820, Call::kAlignTable, kAlignCenter, kScopeCells),
    C(32821, Call::kAlignTable, kAlignRight, kScopeCells),
    C(32822, Call::kAlignTable, kAlignTop, kScopeCells),
    C(32823, Call::kAlignTable, kAlignMiddle, kScopeCells),
    C(32824, Call::kAlignTable, kAlignBottom, kScopeCells),
    M(32825, &CXHTML::OnSelecttable),
    M(32826, &CXHTML::OnSelectrow),
    M(32827, &CXHTML::OnSelectcol),
    M(32828, &CXHTML::OnTab),
    M(32829, &CXHTML::OnShifttab),
    M(32830, &CXHTML::OnAttach),
    M(32835, &CXHTML::OnTableprp),
    M(32836, &CXHTML::OnTrprp),
    M(32837, &CXHTML::OnTdprp),
    C(32838, Call::kDataTable, 10, 3),
    M(32839, &CXHTML::OnSetcolheaders),
    M(32840, &CXHTML::OnSetrowheaders),
    M(32842, &CXHTML::OnConvertitoem),
    M(32843, &CXHTML::OnConvertbtostrong),
    M(32844, &CXHTML::OnSpellcheck),
    M(32855, &CXHTML::OnDirectory),
    C(32859, Call::kSelectAll),
    M(32865, &CXHTML::OnWysiwyg),
    M(32868, &CXHTML::OnPopupReset),
    M(32869, &CXHTML::OnFloatimageright),
    M(32870, &CXHTML::OnFloatimageleft),
    M(32872, &CXHTML::OnImageTypeGrap),
    M(32873, &CXHTML::OnImageTypeText),
    M(32874, &CXHTML::OnImageTypeOutline),
    M(32875, &CXHTML::OnJImageTypeGrap),
    M(32876, &CXHTML::OnJImageTypeText),
    M(32877, &CXHTML::OnJImageTypeOutline),
    M(32878, &CXHTML::OnSelectImage),
    M(32881, &CXHTML::PopupStyleMenu),
    M(32882, &CXHTML::OnDrawLTable),
    M(32883, &CXHTML::OnDrawDTable),
    M(32884, &CXHTML::OnExpand),
    M(32885, &CXHTML::OnSubdocSelect),
    C(32886, Call::kAbout),
    M(32887, &CXHTML::OnTagslist),
    M(32888, &CXHTML::OnRedo),
    M(32891, &CXHTML::OnFindReplace),
    M(32892, &CXHTML::OnColumnprp),
    M(32893, &CXHTML::OnResettable),
    C(32896, Call::kAlignTable, kAlignLeft, kScopeRows),
    C(32897, Call::kAlignTable, kAlignCenter, kScopeRows),
    C(32898, Call::kAlignTable, kAlignRight, kScopeRows),
    C(32899, Call::kAlignTable, kAlignTop, kScopeRows),
    C(32900, Call::kAlignTable, kAlignMiddle, kScopeRows),
    C(32901, Call::kAlignTable, kAlignBottom, kScopeRows),
    C(32902, Call::kAlignTable, kAlignLeft, kScopeColumns),
    C(32903, Call::kAlignTable, kAlignCenter, kScopeColumns),
    C(32904, Call::kAlignTable, kAlignRight, kScopeColumns),
    C(32905, Call::kAlignTable, kAlignTop, kScopeColumns),
    C(32906, Call::kAlignTable, kAlignMiddle, kScopeColumns),
    C(32907, Call::kAlignTable, kAlignBottom, kScopeColumns),
    M(32908, &CXHTML::OnClearPrivate),
    M(32914, &CXHTML::OnLInsertIAbove),
    M(32915, &CXHTML::OnLInsertIBelow),
    M(32916, &CXHTML::OnLMoveIUp),
    M(32917, &CXHTML::OnLMoveIDown),
    M(32918, &CXHTML::OnLSelectList),
    M(32919, &CXHTML::OnLSelectItem),
    M(32920, &CXHTML::OnLDeleteList),
    M(32921, &CXHTML::OnLDeleteItem),
    M(32922, &CXHTML::OnLListPrp),
    M(32923, &CXHTML::OnLItemPrp),
    M(32924, &CXHTML::OnDInsertIAbove),
    M(32925, &CXHTML::OnDInsertIBelow),
    M(32926, &CXHTML::OnDInsertTAbove),
    M(32927, &CXHTML::OnDInsertTBelow),
    M(32928, &CXHTML::OnDInsertDAbove),
    M(32929, &CXHTML::OnDInsertDBelow),
    M(32930, &CXHTML::OnDMoveIUp),
    M(32931, &CXHTML::OnDMoveIDown),
    M(32932, &CXHTML::OnDMoveTUp),
    M(32933, &CXHTML::OnDMoveTDown),
    M(32934, &CXHTML::OnDMoveTUp),
    M(32935, &CXHTML::OnDMoveTDown),
    M(32936, &CXHTML::OnDSelectList),
    M(32937, &CXHTML::OnDSelectItem),
    M(32938, &CXHTML::OnDSelectTerm),
    M(32939, &CXHTML::OnDSelectTerm),
    M(32940, &CXHTML::OnDDeleteList),
    M(32941, &CXHTML::OnDDeleteItem),
    M(32942, &CXHTML::OnDDeleteTerm),
    M(32943, &CXHTML::OnDDeleteTerm),
    M(32944, &CXHTML::OnDSort),
    M(32945, &CXHTML::OnDListPrp),
    M(32946, &CXHTML::OnDTermPrp),
    M(32947, &CXHTML::OnDTermPrp),
    M(32948, &CXHTML::OnSubdocDelete),
    M(32949, &CXHTML::OnHelp),
    C(32951, Call::kMember), // DoProperty
    M(32952, &CXHTML::OnIndent),
    M(32953, &CXHTML::OnSaveAs),
    M(32954, &CXHTML::OnDefList),
    M(32955, &CXHTML::OnChangeList),
    M(32956, &CXHTML::OnSaveFile),
};

// The commands that leave the document's markup as it is: views, copy,
// undo and redo (which end the typing step themselves), selecting, dialogs
// that only show, help and saving. Sorted.
constexpr unsigned int kCommandsThatKeepMarkup[]
    = {12001, 12002, 12004, 32812, 32814, 32825, 32826, 32827, 32844, 32855, 32859, 32865, 32878, 32884,
        32885, 32886, 32888, 32891, 32918, 32919, 32936, 32937, 32938, 32939, 32949, 32953, 32956};

// Every other command may edit: the typing before it ends its undo step
// first, so that undo takes back the command alone and the typing with the
// next undo.
bool MayEdit(unsigned int id)
{
    return !std::binary_search(std::begin(kCommandsThatKeepMarkup), std::end(kCommandsThatKeepMarkup), id);
}

// The list and alignment commands do nothing with the caret on a
// structural element (a pre, rule, list or table) while nothing is selected.
bool OnElementWithoutContent(const CXDoc& doc)
{
    return !doc.m_selectionPresent && HasStructuralFlag(doc.m_caretElement);
}

} // namespace

const CXHTML::CommandEntry* CXHTML::FindCommand(unsigned int id)
{
    const auto end = std::end(kCommands);
    const auto it = std::lower_bound(std::begin(kCommands), end, id,
        [](const CommandEntry& entry, unsigned int key) { return entry.id < key; });
    return it != end && it->id == id ? &*it : nullptr;
}

void CXHTML::PostMessage(unsigned int message, unsigned int id, unsigned int argument)
{
    try {
        if (message == kMessageDrawTable)
            OnDrawTable(id, argument);
        else if (message != kMessageCommand)
            return;

        if (id >= kFirstPageMenuEntry) {
            ProcessCustomMenu(static_cast<long>(id));
            return;
        }
        if (id >= kFirstToolbarCommand) {
            if (m_control)
                m_control->RunToolbarCommand(id);
            return;
        }
        if (id >= kFirstStyleItem && id <= kLastStyleItem) {
            m_doc.TakePendingChange();
            StyleItemChanged(id);
            return;
        }
        const CommandEntry* entry = FindCommand(id);
        if (!entry)
            return;
        if (MayEdit(id))
            m_doc.TakePendingChange();
        switch (entry->call) {
        case CommandCall::kMember:
            if (entry->member)
                (this->*entry->member)();
            else
                DoProperty(); // 32768 and 32951
            break;
        case CommandCall::kList:
            if (!OnElementWithoutContent(m_doc))
                DoList(m_doc.m_caretElement, entry->code, false, true);
            break;
        case CommandCall::kModifyAlign:
            if (m_doc.m_caretElement && !OnElementWithoutContent(m_doc))
                ModifyAlign(m_doc.m_caretElement, entry->code, false, true);
            break;
        case CommandCall::kAlignTable: DoAlignTable(entry->code, entry->scope); break;
        case CommandCall::kDataTable: InsertDataTable(entry->code, entry->scope); break;
        case CommandCall::kFontButton: DoFontButton(entry->code, nullptr); break;
        case CommandCall::kAbout: OnAbout(); break;
        case CommandCall::kSelectAll: SelectAll(); break;
        }
    } catch (...) {
        // A command that fails leaves the document as it stood.
    }
}

void CXHTML::OnFindReplace()
{
    CColoringEditor* source = m_control ? m_control->SourceView() : nullptr;
    if (m_control && m_control->GetViewMode() == 1 && source)
        source->DoFindReplace(true);
    else
        DoFindReplace(true);
}

void CXHTML::OnExpand()
{
    if (!m_doc.m_selectionPresent)
        ForceHaveFocus();
}

bool CXHTML::MayChange(int action, CElement* element, long sub)
{
    return m_doc.CanDocumentBeChanged(action, element, sub, 0, nullptr);
}

CElement* CXHTML::ContextElement() const
{
    if (CElement* menu = m_menuElement.Live(m_doc))
        return menu;
    CElement* caret = m_doc.m_caretElement;
    return caret && m_doc.IsElementExist(caret) ? caret : nullptr;
}

void CXHTML::ForgetBorrowed(CBorrowedElement& borrowed, const CElement* e) const
{
    CElement* live = borrowed.Live(m_doc);
    if (!live || live == e || live->IsOneOfParent(e))
        borrowed = nullptr;
}

void CXHTML::EndEdit()
{
    if (m_doc.m_root)
        m_doc.m_root->CheckAndCure();
    DocDrawDoc();
    DocUpdateKeyCursor();
    m_doc.Redraw();
    NotifyEdit();
}
