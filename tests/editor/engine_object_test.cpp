// The engine object: its state when new (option lists, marker style), what
// its destructor frees (the sanitizer build reports any leak or double
// free), the generic font families its start-up gives the document, the
// small queries and forwarders, and where LoadDocument leaves the caret when
// the markup placed none.

#include "tests/editor/support/EngineWithControl.h"

#include "editor/ServiceDescription.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "tests/common/TextHelpers.h"
#include "ui/Window.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using qmtest::EngineWithControl;

std::vector<std::string> Entries(unsigned short* const* list, int room)
{
    std::vector<std::string> out;
    for (int i = 0; i < room && list[i]; ++i)
        out.push_back(qmtest::Utf8(CSafeBuf(list[i])));
    EXPECT_EQ(list[out.size()], nullptr) << "the list is null-terminated";
    return out;
}

TEST(EngineObject, NewEngine)
{
    CXHTML engine;
    EXPECT_EQ(engine.m_doc.m_owner, &engine);
    EXPECT_EQ(engine.m_pastePoint.x, -1);
    EXPECT_EQ(engine.m_imageDisplayMode, 1);
    EXPECT_EQ(engine.m_timer, 0u);
    EXPECT_EQ(engine.m_scrollDirection, 0u);
    EXPECT_EQ(engine.m_blinkCount, 0);

    using List = std::vector<std::string>;
    EXPECT_EQ(Entries(engine.m_noneYesNoList, CXHTML::kNoneYesNoRoom), (List{"", "no", "yes"}));
    EXPECT_EQ(Entries(engine.m_yesNoList, CXHTML::kYesNoRoom), (List{"no", "yes"}));
    EXPECT_EQ(Entries(engine.m_areaShapeList, CXHTML::kAreaShapeRoom),
        (List{"None", "rect", "circle", "poly", "default"}));
    EXPECT_EQ(Entries(engine.m_headerScopeList, CXHTML::kHeaderScopeRoom),
        (List{"None", "Row", "Col", "Rowgroup", "Colgroup"}));
    EXPECT_EQ(Entries(engine.m_linkTypeList, CXHTML::kLinkTypeRoom),
        (List{"None", "alternate", "stylesheet", "start", "next", "prev", "parent", "contents", "index",
            "glossary", "copyright", "chapter", "section", "subsection", "appendix", "help", "bookmark",
            "meta", "p3pv1"}));
    // Each entry is a buffer of its own that a dialog may write into.
    engine.m_yesNoList[0][CXHTML::kOptionUnits - 1] = 'x';
    EXPECT_NE(engine.m_yesNoList[0], engine.m_noneYesNoList[1]);

    // The marker style: zeroed, with the tag marker's colour and border
    // colour set to grey.
    const ELEMENT_STYLE& marker = engine.m_markerStyle;
    EXPECT_TRUE(marker.markerColor.set);
    EXPECT_EQ(marker.markerColor.value, static_cast<std::int32_t>(RGB(120, 120, 120)));
    EXPECT_TRUE(marker.markerBorderColor.set);
    EXPECT_EQ(marker.markerBorderColor.value, static_cast<std::int32_t>(RGB(120, 120, 120)));
    EXPECT_FALSE(marker.markerBackgroundColor.set);
    EXPECT_EQ(marker.colorSet, 0);
    EXPECT_EQ(marker.bkColorSet, 0);
}

// A dialog window that notes its destruction.
struct CountedWindow : TWindow
{
    explicit CountedWindow(int& count) : m_count(count) { }
    ~CountedWindow() override { ++m_count; }
    int& m_count;
};

unsigned short* Text(const char* s)
{
    const CSafeBuf wide(s);
    return wide.CreateNew();
}

SERVICE_DESCRIPTION* Description(int items, int extras)
{
    auto* d = new SERVICE_DESCRIPTION;
    for (int i = 0; i < items; ++i)
        d->items = new SERVICE_ITEM{CSafeBuf(std::string(200, 'a' + i).c_str()), d->items};
    for (int i = 0; i < extras; ++i)
        d->extraItems = new SERVICE_ITEM{CSafeBuf("x"), d->extraItems};
    return d;
}

TEST(EngineObject, DestructionFreesEverythingTheEngineOwns)
{
    int closed = 0;
    {
        CXHTML engine;
        engine.m_findDialog = new CountedWindow(closed);
        engine.m_tableSizePicker = new CountedWindow(closed);
        engine.m_classNames = new unsigned short* [3] { Text("big"), Text("small"), nullptr };
        engine.m_dialogBuffers[0] = Text("http://h/");
        engine.m_dialogBuffers[2] = Text("title");
        engine.m_imageLibraryServices.AddTail(Description(2, 1));
        engine.m_attachmentLibraryServices.AddTail(Description(0, 0));
        engine.m_linkLibraryServices.AddTail(Description(1, 3));
        engine.m_directoryServices.AddTail(Description(3, 0));
        engine.m_directoryServices.AddTail(static_cast<void*>(nullptr));
        engine.m_ownedRecords.AddTail(std::malloc(64));
        engine.m_ownedRecords.AddTail(std::malloc(8));
    }
    EXPECT_EQ(closed, 2) << "the find dialog and the table-size picker are deleted";
}

TEST(EngineObject, ReleaseServiceEmptiesTheList)
{
    CXHTML engine;
    CPtrList& list = engine.m_imageLibraryServices;
    list.AddTail(Description(2, 2));
    list.AddTail(static_cast<void*>(nullptr));
    list.AddTail(Description(0, 1));
    EXPECT_EQ(engine.ReleaseService(&list), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(engine.ReleaseService(&list), 0);
    EXPECT_EQ(engine.ReleaseService(nullptr), 0);
}

FONT_LIST_ITEM* Installed(std::initializer_list<std::pair<const char*, long>> fonts)
{
    FONT_LIST_ITEM* head = nullptr;
    FONT_LIST_ITEM** tail = &head;
    for (const auto& f : fonts) {
        *tail = new FONT_LIST_ITEM;
        (*tail)->name = f.first;
        (*tail)->fontNumber = f.second;
        tail = &(*tail)->next;
    }
    return head;
}

TEST_F(EngineWithControl, StartUpGivesTheDocumentItsGenericFamilies)
{
    const std::string serif
        = "Times New Roman, Bodoni, Garamond, Minion Web, ITC Stone Serif, MS Georgia, Bitstream Cyberbit";
    const std::string sans = "MS Trebuchet, ITC Avant Garde Gothic, MS Arial, MS Verdana, Univers, Futura, "
                             "ITC Stone Sans, Gill Sans, Akzidenz Grotesk, Helvetica";
    const std::string cursive
        = "Caflisch Script, Adobe Poetica, Sanvito, Ex Ponto, Snell Roundhand, Zapf-Chancery";
    const std::string fantasy = "Alpha Geometrique, Critter, Cottonwood, FB Reactor, Studz ";
    const std::string mono = "Courier, MS Courier New, Prestige, Everson Mono";
    struct Expected
    {
        std::string serif, sans, cursive, fantasy, mono;
        long serifFont, sansFont, cursiveFont, fantasyFont;
    };
    struct
    {
        const char* name;
        FONT_LIST_ITEM* fonts;
        Expected expected;
    } cases[] = {
        // Nothing installed: every list as given, the default font.
        {"none", nullptr, {serif, sans, cursive, fantasy, mono, 0, 0, 0, 0}},
        // An equal name wins; a name inside an installed one matches it.
        {"some",
            Installed(
                {{"Times New Roman", 0}, {"Courier New", 3}, {"Helvetica Neue", 9}, {"snell roundhand", 12}}),
            {serif, "Helvetica Neue", "snell roundhand", fantasy, "Courier New", 0, 9, 12, 0}},
        {"a fantasy font", Installed({{"Studz", 21}}), {serif, sans, cursive, "Studz", mono, 0, 0, 0, 21}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine = std::make_unique<CXHTML>();
        engine->m_control = control.get();
        CXDoc& doc = engine->m_doc;
        doc.m_fontList = c.fonts;
        engine->Init();
        const Expected& e = c.expected;
        EXPECT_EQ(qmtest::Utf8(doc.m_serifFamily), e.serif);
        EXPECT_EQ(qmtest::Utf8(doc.m_sansSerifFamily), e.sans);
        EXPECT_EQ(qmtest::Utf8(doc.m_cursiveFamily), e.cursive);
        EXPECT_EQ(qmtest::Utf8(doc.m_fantasyFamily), e.fantasy)
            << "the fantasy list keeps its trailing blank";
        EXPECT_EQ(qmtest::Utf8(doc.m_monospaceFamily), e.mono);
        EXPECT_EQ(doc.m_serifFont, e.serifFont);
        EXPECT_EQ(doc.m_sansSerifFont, e.sansFont);
        EXPECT_EQ(doc.m_cursiveFont, e.cursiveFont);
        EXPECT_EQ(doc.m_fantasyFont, e.fantasyFont);
        // The generics now resolve through the lists.
        CSafeBuf family("cursive");
        EXPECT_EQ(doc.ValidateFontFamily(family), e.cursiveFont);
        family = "monospace";
        EXPECT_EQ(doc.ValidateFontFamily(family), 1);
        engine->UnInit();
    }
}

TEST_F(EngineWithControl, QueriesAndForwardersReachTheControl)
{
    EXPECT_TRUE(engine->IsWindowVisible());
    control->m_viewMode = 1;
    EXPECT_FALSE(engine->IsWindowVisible());

    for (const char* dir : {"rtl", "RTL", "rTl"}) {
        control->Dir = dir;
        EXPECT_TRUE(engine->PagesRightToLeft()) << dir;
    }
    for (const char* dir : {"ltr", "", " rtl", "rtl "}) {
        control->Dir = dir;
        EXPECT_FALSE(engine->PagesRightToLeft()) << dir;
    }
    engine->SetPrpDlg(nullptr);

    engine->DoFireStyleChange();
    engine->DoFireStyleChange();
    EXPECT_EQ(control->styleChanges, 2);

    engine->m_control = nullptr;
    EXPECT_FALSE(engine->PagesRightToLeft());
    engine->DoFireStyleChange();
    EXPECT_EQ(control->styleChanges, 2);
}

// A tree built into the engine's document: the body with the given
// children, "text" meaning a text run; each child may hold one more level.
struct Node
{
    const char* tag;
    std::vector<const char*> children;
};

CElement* Build(CXHTML& engine, const std::vector<Node>& nodes)
{
    CXDoc& doc = engine.m_doc;
    CElement* body = CreateElement("body", doc.m_workingRules, nullptr, &engine);
    body->m_root = body;
    doc.m_root = body;
    auto make = [&](const char* tag) {
        CElement* e = CreateElement(std::string(tag) == "text" ? "" : tag, doc.m_workingRules, body, &engine);
        e->m_caretOffset = 1;
        return e;
    };
    for (const Node& n : nodes) {
        CElement* e = make(n.tag);
        body->AppendChild(e);
        for (const char* child : n.children)
            e->AppendChild(make(child));
    }
    return body;
}

TEST(EngineObject, LoadingWithoutACaretMarkerPutsTheCaretInTheFirstTextRunOrTheLastEmptyElement)
{
    // Markup with text: the caret goes to the start of the first text run
    // (the loader gives every place the caret can go one, empty or not).
    // Markup without text: to the last element with no content of its own,
    // past the empty runs the repair adds beside it.
    struct Case
    {
        const char* markup;
        const char* caretTag; // "" for a text run
    };
    for (const Case& c :
        {Case{"<hr /><p><img src='a.png' /></p>", "img"}, Case{"<p><img src='a.png' /></p><hr />", "hr"},
            Case{"<p><img src='a.png' /></p><p>x</p>", ""}, Case{"<p></p><div></div>", ""}}) {
        SCOPED_TRACE(c.markup);
        CXHTML engine;
        EXPECT_TRUE(engine.LoadDocument(qmtest::FromUtf8(c.markup)));
        CElement* caret = engine.m_doc.m_caretElement;
        ASSERT_NE(caret, nullptr);
        EXPECT_EQ(caret->m_caretOffset, 0);
        if (*c.caretTag) {
            EXPECT_EQ(qmtest::ToUtf8(CSafeBuf(caret->m_tagName.Get())), c.caretTag);
            continue;
        }
        EXPECT_TRUE(caret->IsTextElement());
        CElement* first = engine.m_doc.m_root;
        while (first && !first->IsTextElement())
            first = NextInSubtree(first, engine.m_doc.m_root);
        EXPECT_EQ(caret, first);
    }
}

TEST(EngineObject, ACaretElementNoLongerInTheTreeIsReplaced)
{
    CXHTML engine;
    CElement* body = Build(engine, {{"p", {"text"}}});
    CElement* stale = CreateElement("b", engine.m_doc.m_workingRules, body, &engine);
    delete stale;
    engine.m_doc.m_caretElement = stale;
    engine.LoadDocument(qmtest::FromUtf8("<p>x</p>"));
    ASSERT_NE(engine.m_doc.m_caretElement, nullptr);
    EXPECT_TRUE(engine.m_doc.m_caretElement->IsTextElement());
}

TEST(EngineObject, CaretInImageOnlyBelowAnImgOfTheTree)
{
    CXHTML engine;
    CElement* body = Build(engine, {{"p", {"img", "text"}}});
    CElement* img = body->m_firstChild->m_firstChild;
    CXDoc& doc = engine.m_doc;
    EXPECT_FALSE(engine.IsCursorInImage()) << "no caret";
    doc.m_caretElement = img;
    EXPECT_FALSE(engine.IsCursorInImage()) << "the image itself is not below one";
    doc.m_caretElement = img->m_nextSibling;
    EXPECT_FALSE(engine.IsCursorInImage());

    // A run that an image holds (cleaned markup gives an image none, but the
    // tree does not forbid it).
    CElement* run = CreateElement("", doc.m_workingRules, body, &engine);
    ASSERT_TRUE(img->AppendChild(run));
    doc.m_caretElement = run;
    EXPECT_TRUE(engine.IsCursorInImage());
    ASSERT_TRUE(img->RemoveChild(run->GetID(), true, false));
    EXPECT_FALSE(engine.IsCursorInImage()) << "a caret element no longer in the tree";
}

} // namespace
