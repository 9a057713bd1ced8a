// Style sheets from fuzzed text: the sheet is loaded into the working or the
// editor's rule list of a document that holds a small fixed tree, every
// style of the tree is computed again with it, and the rule index is held
// against a test of every rule. Checks that each rule's selectors carry the
// specificity of their statements, that a copy of the list keeps every rule
// and declaration, and that the index offers every rule that matches an
// element. Take -dict=fuzz/css_sheet.dict for the words.

#include "fuzz/FuzzText.h"

#include "document/XDoc.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/cascade/RuleIndex.h"
#include "style/cascade/SelectorMatch.h"
#include "style/sheets/Specificity.h"
#include "style/sheets/StyleClass.h"

#include <algorithm>
#include <cstring>

namespace {

const char kMarkup[]
    = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>"
      "<div class=\"a b\" id=\"x\" lang=\"en-GB\"><h1>t</h1><p class=\"note\" style=\"color: red\">"
      "one <em>two</em> <a href=\"h\" title=\"t u\" rel=\"next\">three</a></p>"
      "<ul><li>i</li><li class=\"b\"><span>j</span></li></ul></div>"
      "<table border=\"1\" cellpadding=\"3\"><tr><td colspan=\"2\" align=\"right\">c</td></tr></table>"
      "<p align=\"center\" dir=\"rtl\">d</p></body></html>";

struct Fixture
{
    CXHTML engine;
    CMarkupDocument document{&engine};
    Fixture()
    {
        CSafeBuf error;
        document.Read(kMarkup, sizeof kMarkup - 1, error);
    }
};

int CountRules(const STYLE_CLASS* r)
{
    int n = 0;
    for (; r; r = r->next)
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture* fixture = new Fixture;
    CXDoc& doc = fixture->engine.m_doc;
    FuzzedDataProvider fdp(data, size);
    const bool editor = fdp.ConsumeBool();
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 6000);

    doc.FreeStyleClass(0);
    doc.LoadStyleClass(text.data(), 0, false, editor ? 1 : 0);
    STYLE_CLASS* list = editor ? doc.m_editorRules : doc.m_workingRules;
    for (const STYLE_CLASS* r = list; r; r = r->next) {
        QM_FUZZ_CHECK(r->precedence == 0);
        for (const STYLE_SELECTOR* s = r->selectors; s; s = s->next)
            QM_FUZZ_CHECK(s->specificity == CalcSelect(s->statement));
    }

    STYLE_CLASS* copy = nullptr;
    QM_FUZZ_CHECK(doc.CopyStyles(list, copy, false));
    QM_FUZZ_CHECK(CountRules(copy) == CountRules(list));
    for (const STYLE_CLASS *a = list, *b = copy; a && b; a = a->next, b = b->next) {
        QM_FUZZ_CHECK(a->selectorText == b->selectorText && a->invalid == b->invalid);
        QM_FUZZ_CHECK(a->DeclarationCount() == b->DeclarationCount());
        QM_FUZZ_CHECK(std::memcmp(&a->style, &b->style, sizeof a->style) == 0);
    }
    FreeStyleClassList(copy);

    CElement* body = fixture->document.Body();
    if (!body)
        return 0;
    body->StyleChanged(1);
    for (CElement* e = body; e;) {
        CMatchContext context;
        std::vector<STYLE_CLASS*> candidates;
        GetRuleIndex(doc).Candidates(e, context, candidates);
        for (STYLE_CLASS* r = list; r; r = r->next) {
            if (DoesStyleFit(e, r, 0, nullptr, nullptr))
                QM_FUZZ_CHECK(std::find(candidates.begin(), candidates.end(), r) != candidates.end());
        }
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e && !e->m_nextSibling)
            e = e->m_parent;
        e = e ? e->m_nextSibling : nullptr;
    }
    return 0;
}
