#pragma once
// An editing engine whose control keeps a style drop-list: the rows are the
// items of the engine's chain (built here as the control numbers a loaded
// list: "None" row 0, a heading row before each run of one group, a
// separator row where ungrouped items follow a group), the current row and
// the marks live in the items' flags. The style box stands at a fixed place
// on the screen, and the control records when its button is pressed and
// released. Documents load with the caret as "|" and the text runs from
// the one holding "[" to the one holding "]" selected.

#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"

#include <string>
#include <vector>

namespace qmtest {

class StyleListControl : public ViewControl
{
public:
    CXHTML* engine = nullptr;
    CRect styleBox{100, 20, 260, 42}; // on the screen
    std::vector<bool> styleButtonChecks;

    STYLE_BAR_ITEM* Items() const { return engine ? engine->m_styleItems : nullptr; }
    void StyleSetCurSel(int index) override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next)
            i->flags = i->index == index ? (i->flags | kStyleItemSelected) : (i->flags & ~kStyleItemSelected);
    }
    int StyleGetCurSel() override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next) {
            if (i->flags & kStyleItemSelected)
                return i->index;
        }
        return -1;
    }
    int StyleGetCount() override
    {
        int count = 0;
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next)
            count = i->index + 1;
        return count;
    }
    void StyleSwitchToFirstItem() override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next) {
            if (i->flags & kStyleItemMarked) {
                StyleSetCurSel(i->index);
                return;
            }
        }
    }
    void StyleSetItemMark(int index, int clear) override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next) {
            if (i->index == index)
                i->flags = clear ? (i->flags & ~kStyleItemMarked) : (i->flags | kStyleItemMarked);
        }
    }
    void StyleRemoveMarks() override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next)
            i->flags &= ~kStyleItemMarked;
    }
    bool StyleIsTagChecked(int index) override
    {
        for (STYLE_BAR_ITEM* i = Items(); i; i = i->next) {
            if (i->index == index)
                return (i->flags & kStyleItemMarked) != 0;
        }
        return false;
    }
    void GetToolButtonPos(unsigned kind, CRect* rect) override
    {
        if (rect)
            *rect = kind == 40 ? styleBox : CRect();
    }
    int ToolCheckButton(int kind, unsigned id, bool check, bool byKind) override
    {
        if (kind == 40 && byKind)
            styleButtonChecks.push_back(check);
        return ViewControl::ToolCheckButton(kind, id, check, byKind);
    }
};

// One style of the list: its texts and its class ("" for none).
struct StyleSpec
{
    std::string label;
    std::string group;
    std::string element;
    std::string cls;
};

class StyleListEngine : public EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        auto own = std::make_unique<StyleListControl>();
        styles = own.get();
        styles->engine = engine.get();
        control = std::move(own);
        engine->m_control = control.get();
        engine->m_controlOptions = &control->Options;
    }
    void TearDown() override
    {
        FreeStyleBarItems(engine->m_styleItems);
        engine->m_styleItems = nullptr;
        EngineWithControl::TearDown();
    }

    // The engine's list becomes "None" and these styles, numbered.
    void SetStyles(const std::vector<StyleSpec>& specs)
    {
        FreeStyleBarItems(engine->m_styleItems);
        STYLE_BAR_ITEM* head = NewStyleBarItem(Wide("None"), nullptr, nullptr, nullptr, nullptr);
        STYLE_BAR_ITEM* last = head;
        for (const StyleSpec& s : specs) {
            last->next = NewStyleBarItem(Wide(s.label), Wide(s.group), Wide(s.element), nullptr, nullptr);
            last = last->next;
            if (!s.cls.empty())
                last->attributes = NewAttributeItem(Wide("class"), Wide(s.cls));
        }
        int row = 0;
        unsigned int command = kFirstStyleCommandId;
        CSafeBuf group;
        for (STYLE_BAR_ITEM* i = head; i; i = i->next) {
            if (!(CSafeBuf(i->group) == group)) {
                ++row;
                group = CSafeBuf(i->group);
            }
            i->index = row++;
            i->commandId = command++;
        }
        engine->m_styleItems = head;
    }
    STYLE_BAR_ITEM* Item(const std::string& label)
    {
        for (STYLE_BAR_ITEM* i = engine->m_styleItems; i; i = i->next) {
            if (Utf8(CSafeBuf(i->label)) == label)
                return i;
        }
        return nullptr;
    }

    bool Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_doc.m_viewRect = CRect(0, 0, 400, 300);
        engine->m_doc.m_viewWidth = 400;
        engine->AssignWnd();
        if (!engine->LoadDocument(FromUtf8(markup)))
            return false;
        MarkSelection();
        return true;
    }

    // The body's content, line breaks left out.
    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        const auto end = s.rfind("</body>");
        s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
            s.erase(cr, 1);
        return s;
    }

    StyleListControl* styles = nullptr;

private:
    void MarkSelection() { qmtest::MarkSelection(*engine); }
};

} // namespace qmtest
