// Sub-documents in the control: a page value holding a sub-document element
// shows the content a loopback SOAP service supplies (the window is written
// to test-output/subdocument-window.png), the context menu over that content
// offers the sub-document entries without Cut and Paste, and its Delete
// takes the whole sub-document away.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "host/Host.h"
#include "platform/np/EventRecord.h"
#include "tests/net/support/LoopbackServer.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One answer for both requests: a definition for "x-sub" elements named
// by "docid", and the content.
const char* const kServiceAnswer
    = "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>"
      "<w:answer xmlns:w=\"urn:quillmark:webservice\"><w:subdocumentDefinition>"
      "<w:elementName>x-sub</w:elementName><w:idAttribute>docid</w:idAttribute></w:subdocumentDefinition>"
      "<w:subdocument>&lt;p&gt;Loaded &lt;b&gt;content&lt;/b&gt; from the service&lt;/p&gt;</w:subdocument>"
      "</w:answer></e:Body></e:Envelope>";

class SubDocumentControl : public qmtest::ControlInstanceTest
{
protected:
    SubDocumentControl() : ControlInstanceTest("subdoc-home-") { }

    CElement* FindText(CElement* e, const std::string& text)
    {
        if (!e)
            return nullptr;
        if (e->IsTextElement() && Utf8Of(e->m_text) == text)
            return e;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (CElement* found = FindText(c, text))
                return found;
        }
        return nullptr;
    }
    static std::string Utf8Of(const CSafeBuf& text)
    {
        char* bytes = nullptr;
        const int n = text.CreateUTF8Str(&bytes);
        std::string out(bytes ? bytes : "", n > 0 ? std::size_t(n) : 0);
        delete[] bytes;
        return out;
    }

    qmtest::LoopbackServer server;
};

TEST_F(SubDocumentControl, TheContentShowsAndTheMenuDeletesIt)
{
    ASSERT_TRUE(server.Ok());
    server.Answer("/sub", 200, kServiceAnswer);
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"SubdocumentURL", server.Url("/sub")}});
    ASSERT_NE(control, nullptr);
    control->SubdocumentTags = CSafeBuf("x-sub");
    control->BackupPort(); // the engine draws outside an event
    EXPECT_TRUE(control->m_pXHTML->LoadDocument(
        CSafeBuf("<p>before</p><div><x-sub docid=\"a\"></x-sub></div><p>after</p>")));
    control->RestorePort();
    EventRecord update{updateEvt, 0, 0, {0, 0}, 0};
    EXPECT_EQ(funcs.event(&npp, &update), 1);
    EXPECT_TRUE(host->WritePNG(std::string(QM_TEST_OUTPUT_DIR) + "/subdocument-window.png"));
    EXPECT_EQ(server.Requests().size(), 2u); // the definitions, then the content

    CXHTML* engine = control->m_pXHTML;
    CElement* loaded = FindText(engine->m_doc.m_root, " from the service");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(FormValue(), "<p>before</p><div><x-sub docid=\"a\" /></div><p>after</p>");

    // The menu over the content: no Cut or Paste, the sub-document entries.
    engine->m_doc.m_pointerElement = loaded;
    Ui().menus.push_back({"Subdocument/Delete Subdocument", 0});
    engine->OnContextMenu(CPoint(20, 60));
    std::vector<std::string> top;
    for (const auto& entry : Ui().lastMenu.entries)
        top.push_back(entry.separator ? "-" : entry.text);
    EXPECT_EQ(top,
        (std::vector<std::string>{"Select All", "Find / Replace", "-", "Subdocument", "-", "Properties",
            "Tag List", "-", "Editor", "Toolbar"}));
    EXPECT_EQ(FormValue(), "<p>before</p><div></div><p>after</p>");
}

} // namespace
