// Inline formatting: bold, italic, strong, emphasis and the class span. Over
// a selection the element wraps the selected runs, or comes off them when
// the selection lies wholly inside one; at a caret the next typed text is
// made to go into a new element, or out of the one around the caret.

#include "editor/XHTML.h"

#include "editor/InsertSupport.h"
#include "editor/StyleBarItem.h"
#include "editor/StyleItemAttributes.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"
#include "element/factory/ElementFactory.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kCodeBold = 2;
constexpr int kCodeItalic = 3;
constexpr int kCodeClass = 6;
constexpr int kCodeStrong = 7;
constexpr int kCodeEm = 8;
constexpr long kSubCodeStyleItem = 11;
constexpr long kStyleClassFont = 2;

// The element kind a font code stands for; 0 for none.
int KindOfFontCode(int code)
{
    switch (code) {
    case kCodeBold: return kKindB;
    case kCodeItalic: return kKindI;
    case kCodeClass: return kKindSpan;
    case kCodeStrong: return kKindStrong;
    case kCodeEm: return kKindEm;
    case 32: return kKindCenter;
    case 64: return 22;
    case 16:
    case 9: return 23;
    default: return 0;
    }
}

const char* TagOfFontCode(int code)
{
    switch (code) {
    case kCodeBold: return "b";
    case kCodeItalic: return "i";
    case kCodeClass: return "span";
    case kCodeStrong: return "strong";
    case kCodeEm: return "em";
    default: return nullptr;
    }
}

// The outermost ancestor of e below its block whose kind is kind; null
// when none.
CElement* OutermostOfKind(const CElement* e, long kind)
{
    CElement* found = nullptr;
    for (CElement* p = e->m_parent; p && !p->m_block; p = p->m_parent) {
        if (p->m_kind == kind)
            found = p;
    }
    return found;
}

// A zero-filled item naming only an element.
struct BlankItem
{
    explicit BlankItem(const char* element)
    {
        std::memset(&item, 0, sizeof item);
        for (int i = 0; element[i] && i < 50; ++i)
            item.element[i] = static_cast<unsigned char>(element[i]);
    }
    STYLE_BAR_ITEM item;
};

} // namespace

// The run that typing at the caret goes into for a font code at a caret
// with text (or inside an element of the kind): the caret leaves the
// outermost element of kind around it (turn off), or its run is split there
// and a new empty run in a new element of the code takes the caret (turn
// on). A caret run that is empty and outside such an element is wrapped
// itself. Null when nothing changed (the class dialog was cancelled).
CElement* CXHTML::TypingRunForFont(CElement* caret, int code, int kind, const char* tag)
{
    CElement* outer = OutermostOfKind(caret, kind);
    CElement* wrapper = nullptr;
    if (!outer) {
        wrapper = NewElement(tag, caret->m_parent);
        if (!wrapper)
            return nullptr;
        // The class is asked for before anything is split.
        if (code == kCodeClass && !DoCommonPrp(wrapper)) {
            delete wrapper;
            return nullptr;
        }
    }
    CElement* run = caret;
    if (outer || !caret->m_text.IsEmpty()) {
        // The run itself splits at the caret; with an element to leave,
        // every ancestor up to it splits after the run.
        CElement* stop = outer ? outer : caret;
        if (outer) {
            CElement* rest = nullptr;
            caret->SplitUntilParent(&rest, stop->GetID(), 0);
        } else {
            caret->BreakElement(0, false);
        }
        CElement* parent = stop->m_parent;
        run = parent ? NewRun(parent) : nullptr;
        if (run && !parent->InsertChild(run, stop->GetID(), true)) {
            parent->RemoveCurrentChildFromList(run);
            delete run;
            run = nullptr;
        }
        if (!run) {
            delete wrapper;
            return nullptr;
        }
    }
    if (wrapper) {
        wrapper->m_parent = nullptr;
        if (!run->InsertElement(wrapper))
            delete wrapper;
    }
    return run;
}

void CXHTML::DoFontButton(int code, STYLE_BAR_ITEM* item)
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementInTree(caret))
        return;
    if (m_doc.m_selectionPresent) {
        DoSelection(code, item);
    } else {
        if (caret->m_edgeCaret || IsCursorInImage() || !caret->IsTextElement())
            return;
        const int kind = KindOfFontCode(code);
        const char* tag = TagOfFontCode(code);
        if (!kind || !tag)
            return;

        // Turning off an empty run's own element: the ancestors that hold
        // nothing but the run are searched for one of the kind.
        CElement* unwrap = nullptr;
        if (caret->m_text.IsEmpty()) {
            for (CElement* p = caret->m_parent; p && !p->m_block && p->m_childCount <= 1; p = p->m_parent) {
                if (p->m_kind == kind) {
                    unwrap = p;
                    break;
                }
            }
        }
        if (unwrap) {
            // The run's style is computed again from its new parent, which
            // drops the weight or slant it had from the element.
            CElement* parent = unwrap->m_parent;
            parent->RemoveChildNodeOnly(unwrap->GetID());
            parent->StyleChanged(1);
        } else if (!(caret = TypingRunForFont(caret, code, kind, tag))) {
            return;
        }
        PutCaret(caret, 0);
    }
    if (CElement* root = m_doc.m_root) {
        root->CheckDocument();
        root->CheckAndCure();
    }
    DocDrawDoc();
    DocUpdateKeyCursor();
    m_doc.Redraw();
    NotifyEdit();
}

bool CXHTML::DoSelection(int code, STYLE_BAR_ITEM* item)
{
    CElement* root = m_doc.m_root;
    const int kind = KindOfFontCode(code);
    if (!root)
        return true;
    bool apply = !root->IsSelectionUnderTag(kind, 2);
    CElement* model = nullptr;
    CSafeBuf cls;
    if (code == kCodeClass) {
        model = NewElement("span", root);
        if (!model)
            return true;
        if (!DoCommonPrp(model)) {
            delete model;
            return true;
        }
        apply = model->GetAttrCount() > 0;
    } else if (item && item->element[0]) {
        model = CreateElement(item->element, root->m_rules, root->m_root, root->m_owner);
        GiveItemAttributes(model, item);
        FindStyleBarClass(item, cls);
    } else {
        model = MakeFormatWrapper(root, kind, nullptr);
    }
    if (!model)
        return true;

    // The pieces the layout cut a wrapped element into (a link over two
    // lines) are joined first, as the next layout would join them: a
    // selection across them then lies in one element, which the wrapper
    // goes inside, rather than one piece per line split off around it.
    // Not while a walk over several elements holds the merging off.
    if (!m_doc.m_layoutFlags[CXDoc::kCombiningSuspended])
        m_doc.CombineElement(0);
    CPtrList list;
    root->GetAllChildren(&list, 0, true, 0, 0);
    std::vector<long> selected;
    for (void* pos = list.GetHeadPosition(); pos;)
        selected.push_back(static_cast<CElement*>(list.GetNext(pos))->GetID());

    if (apply) {
        // An element of the kind lying wholly in the selection goes first,
        // so that the new one does not nest in it.
        for (auto at = selected.rbegin(); at != selected.rend(); ++at) {
            CElement* e = m_doc.FindElement(*at);
            if (!e || e->m_block)
                continue;
            for (CElement* p = e; p && !p->m_block; p = p->m_parent) {
                if (p->m_kind != kind)
                    continue;
                CSafeBuf own;
                if (!cls.IsEmpty() && (!p->GetAttrString("class", own) || own != cls))
                    continue;
                if (p->IsTagUnderSelection() && p->m_parent) {
                    CElement* parent = p->m_parent;
                    parent->RemoveChildNodeOnly(p->GetID());
                    parent->StyleChanged(1);
                }
                break;
            }
        }
        InsertTagToSelections(model);
    } else {
        for (auto at = selected.rbegin(); at != selected.rend(); ++at) {
            if (CElement* e = m_doc.FindElement(*at))
                e->DoSelection(kind, false, model);
        }
        // What is left of an element before the selection may end in a
        // blank now, and what is left after it start with one (the
        // selected text runs were divided anew).
        CPtrList now;
        root->GetAllChildren(&now, 0, true, 0, 0);
        for (void* pos = now.GetHeadPosition(); pos;) {
            for (auto* e = static_cast<CElement*>(now.GetNext(pos)); e && !e->m_block; e = e->m_parent) {
                if (e->m_prevSibling)
                    qm::insert::BlankOutsideInline(e->m_prevSibling, true);
                if (e->m_nextSibling)
                    qm::insert::BlankOutsideInline(e->m_nextSibling, false);
            }
        }
    }
    delete model;
    return true;
}

void CXHTML::OnFontbold()
{
    BlankItem blank("b");
    DoFontButton(kCodeBold, &blank.item);
}

void CXHTML::OnFontitalic()
{
    BlankItem blank("i");
    DoFontButton(kCodeItalic, &blank.item);
}

void CXHTML::OnClass() { DoFontButton(kCodeClass, nullptr); }

// The key commands: only over a selection, and when the edit guard lets
// the item's element go there.
static void RunKeyCommand(CXHTML& engine, const char* element, int code)
{
    if (!engine.m_doc.m_selectionPresent)
        return;
    BlankItem blank(element);
    if (!engine.m_doc.CanDocumentBeChanged(
            qm::insert::kActionCommand, nullptr, kSubCodeStyleItem, kStyleClassFont, blank.item.element))
        return;
    engine.DoFontButton(code, &blank.item);
    engine.DisplayTagBox();
}

void CXHTML::KeyBold() { RunKeyCommand(*this, "b", kCodeBold); }
void CXHTML::KeyItalic() { RunKeyCommand(*this, "i", kCodeItalic); }
void CXHTML::KeyStrong() { RunKeyCommand(*this, "strong", kCodeStrong); }
void CXHTML::KeyEm() { RunKeyCommand(*this, "em", kCodeEm); }

bool CXHTML::ConvertElementToAnother(
    CElement* element, int fromKind, int toKind, const unsigned short* toTag, bool searchUp)
{
    if (!element || !toTag)
        return false;
    if (searchUp && element->m_kind != fromKind)
        element = element->IsElementUnderTag(fromKind);
    if (!element)
        return false;
    CPtrList pieces;
    element->GetWrappedInlineBrothers(&pieces);
    pieces.AddHead(element);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        auto* e = static_cast<CElement*>(pieces.GetNext(pos));
        e->m_kind = toKind;
        e->SetTagName(toTag, false);
        e->StyleChanged(1);
    }
    return true;
}

namespace {

const unsigned short kStrongTag[] = {'s', 't', 'r', 'o', 'n', 'g', 0};
const unsigned short kEmTag[] = {'e', 'm', 0};

} // namespace

void CXHTML::OnConvertbtostrong()
{
    if (!ConvertElementToAnother(ContextElement(), kKindB, kKindStrong, kStrongTag, true))
        return;
    DisplayTagBox();
    DocDrawDoc();
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnConvertitoem()
{
    if (!ConvertElementToAnother(ContextElement(), kKindI, kKindEm, kEmTag, true))
        return;
    DisplayTagBox();
    DocDrawDoc();
    m_doc.Redraw();
    NotifyChange(true);
}
