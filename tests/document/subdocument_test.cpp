// Sub-documents against a loopback SOAP service: what the describe and
// download requests carry, how the definitions are kept, what each answer
// gives, and when an element counts as changed.

#include "document/SubDocInfo.h"
#include "editor/SoapEnvelope.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/markup/MarkupDocument.h"
#include "elements/CustomElement.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;
using qmtest::Utf8;

std::string Envelope(const std::string& result)
{
    return std::string("<e:Envelope xmlns:e=\"") + kSoap12Namespace + "\"><e:Body>" + result
        + "</e:Body></e:Envelope>";
}

// A describe answer with one definition per (element, id attribute, option01).
std::string Describe(const std::vector<std::vector<std::string>>& definitions)
{
    std::string body = "<w:doSubdocumentDescribeResponse xmlns:w=\"urn:quillmark:webservice\">";
    for (const auto& d : definitions) {
        body += "<w:subdocumentDefinition><w:elementName>" + d[0] + "</w:elementName><w:idAttribute>" + d[1]
            + "</w:idAttribute>";
        if (d.size() > 2)
            body += "<w:option01Attribute>" + d[2] + "</w:option01Attribute>";
        body += "</w:subdocumentDefinition>";
    }
    return Envelope(body + "</w:doSubdocumentDescribeResponse>");
}

std::string Download(const std::string& escapedContent)
{
    return Envelope("<w:doSubdocumentDownloadResponse xmlns:w=\"urn:quillmark:webservice\"><w:subdocument> "
        + escapedContent + " </w:subdocument></w:doSubdocumentDownloadResponse>");
}

CCustomElement* FirstCustom(CElement* e)
{
    if (auto* custom = dynamic_cast<CCustomElement*>(e))
        return custom;
    for (CElement* c = e ? e->m_firstChild : nullptr; c; c = c->m_nextSibling) {
        if (CCustomElement* found = FirstCustom(c))
            return found;
    }
    return nullptr;
}

// The styles of the elements inside e, in document order.
std::vector<ELEMENT_STYLE> StylesInside(CElement* e)
{
    std::vector<ELEMENT_STYLE> styles;
    for (CElement* c = NextInSubtree(e, e); c; c = NextInSubtree(c, e))
        styles.push_back(c->Style());
    return styles;
}

void ExpectSameStyles(const std::vector<ELEMENT_STYLE>& got, const std::vector<ELEMENT_STYLE>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(std::memcmp(&got[i], &want[i], sizeof(ELEMENT_STYLE)), 0) << "element " << i;
}

class SubDocuments : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        ASSERT_TRUE(server.Ok());
        // Elements are read as custom elements but not loaded on their own:
        // the tests ask for each load.
        control->SubdocumentURL = FromUtf8(server.Url("/sub").c_str());
    }

    // The definitions fetched once (the download that follows gets the
    // same answer, which has no content).
    void FetchDefinitions(CElement* e)
    {
        Fetch(e);
        server.ClearRequests();
    }

    // Reads markup and answers its first custom element.
    CCustomElement* Load(const std::string& markup)
    {
        if (!engine->LoadDocument(FromUtf8(markup)))
            return nullptr;
        return FirstCustom(engine->m_doc.m_root);
    }

    int Fetch(CElement* e, std::string* content = nullptr, bool tell = true)
    {
        CSafeBuf out("stale");
        const int answer = engine->m_doc.LoadSubDocumentForElement(e, out, tell);
        if (content)
            *content = Utf8(out);
        return answer;
    }

    std::vector<std::string> Bodies() const
    {
        std::vector<std::string> out;
        for (const auto& r : server.Requests())
            out.push_back(r.body);
        return out;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
    qmtest::LoopbackServer server;
};

TEST_F(SubDocuments, WithoutAServiceAddressNothingIsSent)
{
    control->SubdocumentURL.Empty();
    CCustomElement* e = Load("<p>x</p><x-sub docid=\"a\"></x-sub>");
    ASSERT_NE(e, nullptr);
    std::string content = "unset";
    EXPECT_EQ(Fetch(e, &content), 0);
    EXPECT_EQ(content, "");
    EXPECT_EQ(Fetch(nullptr), 0);
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(driver.shown, 0);
}

TEST_F(SubDocuments, DefinitionsAreKeptInAnswerOrderAndAskedForOnce)
{
    // The second name is longer than any fixed field would hold.
    const std::string longName = "x-" + std::string(100, 'n');
    server.Answer("/sub", 200, Describe({{"x-sub", "docid", "kind"}, {longName, "ref"}, {"", "skipped"}}));
    CCustomElement* e = Load("<p>x</p><x-other docid=\"a\"></x-other>");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Fetch(e), 0); // no definition for x-other
    EXPECT_EQ(Fetch(e), 0);
    const SUBDOC_INFO* first = engine->m_doc.m_subDocInfo;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Utf8(first->elementName), "x-sub");
    EXPECT_EQ(Utf8(first->idAttribute), "docid");
    EXPECT_EQ(Utf8(first->optionAttributes[0]), "kind");
    ASSERT_NE(first->next, nullptr);
    EXPECT_EQ(Utf8(first->next->elementName), longName);
    EXPECT_EQ(Utf8(first->next->idAttribute), "ref");
    EXPECT_EQ(first->next->next, nullptr); // a definition without a name is left out
    EXPECT_EQ(engine->m_doc.m_subDocMode, 2);
    ASSERT_EQ(Bodies().size(), 1u);
    EXPECT_NE(Bodies()[0].find("<doSubdocumentDescribe xmlns='urn:quillmark:webservice'><lang>en</lang>"
                               "</doSubdocumentDescribe>"),
        std::string::npos)
        << Bodies()[0];
}

TEST_F(SubDocuments, TheDownloadEscapesEveryValueAndListsAllTenOptions)
{
    server.Answer("/sub", 200, Describe({{"x-sub", "docid", "kind"}}));
    CCustomElement* e = Load("<p>x</p><x-sub docid=\"a&amp;b\"></x-sub>");
    ASSERT_NE(e, nullptr);
    FetchDefinitions(e);
    engine->m_doc.m_language = FromUtf8("x<y");
    server.Answer("/sub", 200, Download("&lt;p&gt;Hello&lt;/p&gt;"));
    std::string content;
    EXPECT_EQ(Fetch(e, &content), 2);
    EXPECT_EQ(content, "<p>Hello</p>");
    const std::vector<std::string> bodies = Bodies();
    ASSERT_FALSE(bodies.empty());
    const std::string options = "<option01></option01><option02></option02><option03></option03>"
                                "<option04></option04><option05></option05><option06></option06>"
                                "<option07></option07><option08></option08><option09></option09>"
                                "<option10></option10>";
    EXPECT_NE(bodies.back().find("<doSubdocumentDownload xmlns='urn:quillmark:webservice'><lang>x&lt;y</lang>"
                                 "<type>x-sub</type><id>a&amp;b</id>"
                  + options + "</doSubdocumentDownload>"),
        std::string::npos)
        << bodies.back();

    // An option the element carries goes with the request, escaped.
    e->SetAttrString("kind", "<big>");
    server.ClearRequests();
    EXPECT_EQ(Fetch(e), 2);
    ASSERT_EQ(Bodies().size(), 1u);
    EXPECT_NE(Bodies()[0].find("<option01>&lt;big&gt;</option01><option02></option02>"), std::string::npos);
}

TEST_F(SubDocuments, AnEmptyIdIsNothingToDoAndAnAnswerWithoutContentIsEmpty)
{
    server.Answer("/sub", 200, Describe({{"x-sub", "docid"}}));
    CCustomElement* e = Load("<p>x</p><x-sub docid=\"\"></x-sub>");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Fetch(e), 0);
    EXPECT_EQ(server.Requests().size(), 1u); // the definitions only
    server.ClearRequests();
    EXPECT_EQ(Fetch(e), 0);
    EXPECT_TRUE(server.Requests().empty());

    e->SetAttrString("docid", "7");
    server.Answer(
        "/sub", 200, Envelope("<w:doSubdocumentDownloadResponse xmlns:w=\"urn:quillmark:webservice\"/>"));
    std::string content = "unset";
    EXPECT_EQ(Fetch(e, &content), 2);
    EXPECT_EQ(content, "");
}

TEST_F(SubDocuments, AFailedDescribeIsToldOnlyTheFirstTime)
{
    server.Answer("/sub", 500, "no envelope");
    CCustomElement* e = Load("<p>x</p><x-sub docid=\"a\"></x-sub>");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Fetch(e, nullptr, true), 1);
    EXPECT_EQ(Fetch(e, nullptr, true), 1);
    EXPECT_EQ(engine->m_doc.m_subDocMode, 1);
    EXPECT_EQ(driver.shown, 1);

    // A describe that answers without definitions fails too.
    server.Answer("/sub", 200, Describe({}));
    EXPECT_EQ(Fetch(e), 1);
    EXPECT_EQ(engine->m_doc.m_subDocInfo, nullptr);
    EXPECT_EQ(driver.shown, 1);
}

TEST_F(SubDocuments, OnlyAChangedIdCountsAsAChange)
{
    server.Answer("/sub", 200, Describe({{"x-sub", "docid", "kind"}}));
    CCustomElement* e = Load("<p>x</p><x-sub docid=\"a\" kind=\"1\"></x-sub>");
    ASSERT_NE(e, nullptr);
    FetchDefinitions(e);
    server.Answer("/sub", 200, Download("text"));
    EXPECT_EQ(Fetch(e), 2);
    e->m_loadAttributes.RemoveAll();
    e->m_loadAttributes.SetAt("docid", "a");
    e->m_loadAttributes.SetAt("kind", "1");
    EXPECT_FALSE(engine->m_doc.IsSubDocChanged(e));
    e->SetAttrString("kind", "2");
    EXPECT_FALSE(engine->m_doc.IsSubDocChanged(e));
    e->SetAttrString("docid", "b");
    EXPECT_TRUE(engine->m_doc.IsSubDocChanged(e));
    EXPECT_FALSE(engine->m_doc.IsSubDocChanged(nullptr));
}

TEST_F(SubDocuments, ContentLoadedDuringAReadIsStyledAsAfterIt)
{
    // One answer for both requests: the definition, then the content, which
    // sets a size of its own and inherits the colour and size of the
    // element's parent.
    const std::string content = "<p style=\"font-size:20px\">sized <b>bold</b></p><div>inherits</div>";
    std::string escaped;
    for (char c : content)
        escaped += c == '<' ? std::string("&lt;") : c == '>' ? std::string("&gt;") : std::string(1, c);
    server.Answer("/sub", 200,
        Envelope(
            "<w:answer xmlns:w=\"urn:quillmark:webservice\"><w:subdocumentDefinition><w:elementName>x-sub"
            "</w:elementName><w:idAttribute>docid</w:idAttribute></w:subdocumentDefinition><w:subdocument>"
            + escaped + "</w:subdocument></w:answer>"));
    control->SubdocumentTags = FromUtf8("x-sub");
    const std::string page = "<div style=\"color:#ff0000;font-size:30px\"><x-sub docid=\"a\"></x-sub></div>";

    // The content as the load leaves it, against a restyle of the whole
    // tree and against the same content inserted once the load is over.
    auto check = [&](CElement* body) {
        CCustomElement* e = FirstCustom(body);
        ASSERT_TRUE(e && e->m_firstChild);
        const std::vector<ELEMENT_STYLE> loaded = StylesInside(e);
        CElement* p = e->m_firstChild;
        EXPECT_EQ(p->Style().fontSize, 20);
        EXPECT_EQ(p->Style().color, e->m_parent->Style().color);
        EXPECT_EQ(p->m_nextSibling->Style().fontSize, e->m_parent->Style().fontSize);
        body->StyleChanged(0);
        ExpectSameStyles(loaded, StylesInside(e));
        while (e->m_firstChild)
            e->RemoveChild(e->m_firstChild->GetID(), true, false);
        ASSERT_TRUE(e->InsertHTMLCodeToElement(FromUtf8(content.c_str())));
        ExpectSameStyles(loaded, StylesInside(e));
    };
    {
        SCOPED_TRACE("read");
        CMarkupDocument document(engine.get());
        CSafeBuf error;
        ASSERT_TRUE(document.Read(page.data(), page.size(), error));
        check(document.Body());
    }
    {
        SCOPED_TRACE("the document's load");
        ASSERT_TRUE(engine->LoadDocument(FromUtf8(page.c_str())));
        check(engine->m_doc.m_root);
    }
}

// One answer for both requests: the definition of "x-sub" elements named by
// "docid", and the content given.
std::string DefinitionAndContent(const std::string& content)
{
    std::string escaped;
    for (char c : content)
        escaped += c == '<' ? std::string("&lt;") : c == '>' ? std::string("&gt;") : std::string(1, c);
    return Envelope(
        "<w:answer xmlns:w=\"urn:quillmark:webservice\"><w:subdocumentDefinition><w:elementName>x-sub"
        "</w:elementName><w:idAttribute>docid</w:idAttribute></w:subdocumentDefinition><w:subdocument>"
        + escaped + "</w:subdocument></w:answer>");
}

int CountLoaded(CElement* root)
{
    int n = 0;
    for (CElement* c = root; c; c = NextInSubtree(c, root)) {
        auto* custom = dynamic_cast<CCustomElement*>(c);
        n += custom && custom->m_subDocLoaded && custom->m_locked ? 1 : 0;
    }
    return n;
}

TEST_F(SubDocuments, ContentThatHoldsItsOwnElementIsNotLoadedAgainInside)
{
    // The content holds the element it was loaded for, in a paragraph and
    // on its own, and an element with another id that gets the same content.
    server.Answer("/sub", 200,
        DefinitionAndContent("<p>in <x-sub docid=\"a\"></x-sub></p><x-sub docid=\"a\"></x-sub>"
                             "<x-sub docid=\"b\"></x-sub>"));
    control->SubdocumentTags = FromUtf8("x-sub");
    ASSERT_TRUE(engine->LoadDocument(FromUtf8("<div><x-sub docid=\"a\"></x-sub></div>")));
    auto count = [&] {
        int n = 0;
        for (CElement* c = engine->m_doc.m_root; c; c = NextInSubtree(c, engine->m_doc.m_root))
            n += FirstCustom(c) == c ? 1 : 0;
        return n;
    };
    auto restyle = [&] {
        engine->m_doc.m_root->StyleChanged(0);
        engine->m_doc.DrawDoc(1);
    };
    // The elements inside loaded content load at the next restyle: a holds
    // (a, a, b), of which b only is loaded; b holds (a, a, b) again, whose b
    // asks as b did. Later restyles change nothing and ask nothing.
    EXPECT_EQ(count(), 4);
    restyle();
    EXPECT_EQ(count(), 7);
    const size_t asked = server.Requests().size();
    for (int k = 0; k < 3; ++k)
        restyle();
    EXPECT_EQ(count(), 7);
    EXPECT_EQ(server.Requests().size(), asked);
    CSafeBuf written;
    engine->GetSourceCode(written, 6);
    EXPECT_EQ(Utf8(written), "<div><x-sub docid=\"a\" /></div>");
}

TEST_F(SubDocuments, ContentNamingManyOthersStopsGrowing)
{
    // Every element of the content gets the same content again: each level
    // loads every id that no enclosing element has, which grows as the
    // permutations of the six ids would without a bound on the loads.
    std::string content;
    for (char id = 'a'; id <= 'f'; ++id)
        content += std::string("<x-sub docid=\"") + id + "\"></x-sub>";
    server.Answer("/sub", 200, DefinitionAndContent(content));
    control->SubdocumentTags = FromUtf8("x-sub");
    ASSERT_TRUE(engine->LoadDocument(FromUtf8("<div><x-sub docid=\"a\"></x-sub></div>")));
    size_t asked = 0;
    int restyles = 0;
    for (; restyles < 12 && server.Requests().size() != asked; ++restyles) {
        asked = server.Requests().size();
        engine->m_doc.m_root->StyleChanged(0);
    }
    EXPECT_LT(restyles, 12);
    EXPECT_GT(CountLoaded(engine->m_doc.m_root), 6);
    EXPECT_LE(CountLoaded(engine->m_doc.m_root), 65);
    EXPECT_LE(server.Requests().size(), 70u);
}

} // namespace
