// Page script against the editor with addresses it must not read for the
// page: local files ("file:" URLs and plain paths, /etc/passwd and a marker
// file of our own) and another origin (a second loopback server). Every
// property and method named in the control's own tables (read from its
// source, so a new name is swept too) is written, called and read with each
// address; the tag's parameters get the same values; markup with external
// entities and DTDs, and XSLT sheets calling document(), go in through every
// door that takes markup or a sheet. Nothing that crosses to the page - a
// property's value, a method's answer, a page function's arguments (all in
// the host's log), the form value - and no preview file may hold the
// content of a local file or of the other origin; neither server may see an
// upload, and the other origin no request that would hand its content to
// the page.

#include "host/Host.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qm::host;

namespace {

// Texts that only the files and the other origin hold.
const char kLocalMarker[] = "qm-local-secret-5d1e";
const char kOtherMarker[] = "qm-other-origin-secret-83af";
const char kPasswdLine[] = "root:x:0:0";

// The quoted names of the array initialised after "table[" in a source file.
std::vector<std::string> NamesInTable(const std::string& file, const std::string& table)
{
    const std::string text = qmtest::ReadFile(std::string(QM_TEST_DATA_DIR) + "/../../" + file);
    std::vector<std::string> names;
    const std::size_t at = text.find(table + "[");
    const std::size_t open = text.find('{', at);
    const std::size_t close = text.find("};", open);
    if (at == std::string::npos || open == std::string::npos || close == std::string::npos)
        return names;
    for (std::size_t q = text.find('"', open); q < close; q = text.find('"', q + 1)) {
        const std::size_t end = text.find('"', q + 1);
        names.push_back(text.substr(q + 1, end - q - 1));
        q = end;
    }
    return names;
}

// A preview file's text: UTF-16LE after its byte order mark, read as bytes
// with the zero halves dropped (the markers are ASCII).
std::string PlainText(const std::string& bytes)
{
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF)
        return bytes;
    std::string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        out += bytes[i + 1] == 0 ? bytes[i] : '?';
    return out;
}

class OriginSweepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("sweep-home-")));
        ASSERT_TRUE(files.Create(qmtest::TestOutputPath("sweep-files-")));
        ASSERT_TRUE(page.Ok() && other.Ok());
        const std::string marker = kLocalMarker;
        local = files.Path() + "/marker.txt";
        ASSERT_TRUE(qmtest::WriteFile(local, marker + "\n"));
        ASSERT_TRUE(qmtest::WriteFile(files.Path() + "/marker.xml", "<m>" + marker + "</m>"));
        ASSERT_TRUE(qmtest::WriteFile(files.Path() + "/marker.css", "p." + marker + " { color: red }"));
        ASSERT_TRUE(qmtest::WriteFile(files.Path() + "/marker.dtd", "<!ENTITY secret \"" + marker + "\">"));
        ASSERT_TRUE(qmtest::WriteFile(files.Path() + "/marker.html", "<p>" + marker + "</p>"));
        const std::string theirs = kOtherMarker;
        for (const char* path : {"/marker.txt", "/marker.xml", "/marker.css", "/marker.html"})
            other.Answer(path, 200, "<m>" + theirs + "</m>");
        other.Answer("/marker.dtd", 200, "<!ENTITY secret \"" + theirs + "\">");
        page.Redirect("/away.xml", other.Url("/marker.xml"));
        page.Answer("/page.html", 200, "<html/>");
        host = std::make_unique<Host>();
        host->GetBrowser().SetAddress(page.Url("/page.html"));
        std::string error;
        ASSERT_TRUE(host->Load(QM_PLUGIN_MODULE, error)) << error;
        methods = NamesInTable("plugin/MorvaXEditorCtrlScript.cpp", "kMethodNames");
        properties = NamesInTable("plugin/MorvaXEditorCtrlProps.cpp", "kPropertyNames");
        events = NamesInTable("plugin/MorvaXEditorCtrlEvents.cpp", "kScriptEventNames");
        ASSERT_GT(methods.size(), 10u);
        ASSERT_GT(properties.size(), 80u);
        ASSERT_EQ(8u, events.size());
        host->GetBrowser().Window().functions.insert(events.begin(), events.end());
    }

    void TearDown() override
    {
        host->Destroy();
        host->Unload();
        EXPECT_EQ(std::vector<std::string>(), host->Problems());
    }

    // The addresses a page could try: local files and the other origin.
    std::vector<std::string> Addresses() const
    {
        std::vector<std::string> out = {"file:///etc/passwd", "/etc/passwd", "file://localhost/etc/passwd"};
        for (const char* name : {"/marker.txt", "/marker.xml", "/marker.css", "/marker.html"}) {
            out.push_back(files.Path() + name);
            out.push_back("file://" + files.Path() + name);
            out.push_back(other.Url(name));
        }
        out.push_back(page.Url("/away.xml"));
        return out;
    }

    bool Start(const std::vector<TagParam>& params)
    {
        return host->New("application/x-quillmark", params) && host->SetWindow(0, 0, 500, 300);
    }

    // The text of every preview file written so far.
    std::string Previews() const
    {
        const std::string temp = home.Path() + "/Library/Application Support/Quillmark/Temp";
        std::string out;
        for (const std::string& f : qmtest::FilesIn(temp))
            out += PlainText(qmtest::ReadFile(temp + "/" + f));
        return out;
    }

    // Everything the page has seen or the preview shows must be free of
    // the files' and the other origin's content.
    void ExpectNothingCrossed(const std::string& what)
    {
        std::string form;
        host->FormValue(form);
        const std::string seen = host->Log().Text() + form + Previews();
        for (const char* marker : {kLocalMarker, kOtherMarker, kPasswdLine})
            EXPECT_EQ(std::string::npos, seen.find(marker)) << what << ": " << marker << " crossed";
        for (const qmtest::LoopbackServer* server : {&page, &other})
            for (const qmtest::RecordedRequest& r : server->Requests())
                EXPECT_NE("POST", r.method) << what << ": an upload to " << r.target << "\n" << r.body;
    }

    // Shows both renderings, then the editing view again.
    void ShowRenderings()
    {
        for (const char* mode : {"preview", "screen-reader", "wysiwyg"})
            host->Set("Mode", ScriptValue::String(mode));
    }

    qmtest::TempHome home;
    qmtest::TempDir files;
    std::string local;
    qmtest::LoopbackServer page;
    qmtest::LoopbackServer other;
    std::unique_ptr<Host> host;
    std::vector<std::string> methods, properties, events;
};

} // namespace

// Each address as every tag parameter, every property and every text
// argument; then every property read back, both renderings shown.
TEST_F(OriginSweepTest, NoPropertyOrMethodHandsOverALocalFileOrAnotherOrigin)
{
    for (const std::string& address : Addresses()) {
        std::vector<TagParam> params = {{"id", std::string("ed1")}};
        for (const std::string& name : properties)
            if (name != "Mode")
                params.push_back({name, address});
        host->Log().Clear(); // a failure names the address that caused it
        ASSERT_TRUE(Start(params)) << address;
        ScriptValue out;
        for (const std::string& name : properties) {
            host->Set(name, ScriptValue::String(address));
            host->Get(name, out);
        }
        for (const std::string& name : methods) {
            const ScriptValue a = ScriptValue::String(address);
            host->Invoke(name, {a, a, a}, out);
        }
        for (const std::string& name : properties)
            host->Get(name, out);
        host->Advance(60000); // whatever the settings started on a timer
        ShowRenderings();
        ExpectNothingCrossed(address);
        host->Destroy();
    }
    // The other origin was only read from, for the control's own use (a
    // style sheet or definitions it loads, as a page may link one).
    for (const qmtest::RecordedRequest& r : other.Requests())
        EXPECT_EQ("GET", r.method) << r.target;
}

// Markup whose entities or DTD name a local file or the other origin, given
// as the value, inserted, fixed and pasted.
TEST_F(OriginSweepTest, ExternalEntitiesAndDtdsReadNothing)
{
    std::vector<std::string> documents;
    for (const std::string& where :
        {files.Path() + "/marker.dtd", "file://" + files.Path() + "/marker.dtd", other.Url("/marker.dtd")}) {
        documents.push_back(
            "<!DOCTYPE html SYSTEM \"" + where + "\"><html><body><p>&secret;</p></body></html>");
        documents.push_back("<!DOCTYPE html [<!ENTITY % p SYSTEM \"" + where
            + "\"> %p;]><html><body><p>a&secret;b</p></body></html>");
    }
    for (const std::string& where : {files.Path() + "/marker.txt", "file://" + files.Path() + "/marker.txt",
             std::string("file:///etc/passwd"), other.Url("/marker.txt")}) {
        documents.push_back(
            "<!DOCTYPE html [<!ENTITY x SYSTEM \"" + where + "\">]><html><body><p>a&x;b</p></body></html>");
        documents.push_back("<p><img src=\"" + where + "\" alt=\"\"/><a href=\"" + where + "\">x</a></p>");
    }
    documents.push_back("<p><img src=\"file://localhost" + files.Path() + "/marker.txt\" alt=\"a\"/></p>");
    ASSERT_TRUE(Start({{"id", std::string("ed1")}, {"ImageLibraryURL", page.Url("/images")},
        {"AttachmentLibraryURL", page.Url("/files")}}));
    ScriptValue out;
    for (const std::string& markup : documents) {
        host->Set("Value", ScriptValue::String(markup));
        host->Get("Value", out);
        host->Invoke("Fix", {ScriptValue::String(markup)}, out);
        host->Invoke("InsertXML", {ScriptValue::String(markup)}, out);
        host->Invoke("ApplyStyleXML", {ScriptValue::String(markup)}, out);
        host->SetClipboardText(markup);
        host->Click(40, 50);
        host->Key(qm::input::kVK_ANSI_V, qm::events::kModCommand);
        ShowRenderings();
        ExpectNothingCrossed(markup);
    }
    host->Destroy();
    // The same as the tag's value.
    for (const std::string& markup : documents) {
        ASSERT_TRUE(Start({{"id", std::string("ed1")}, {"Value", markup}}));
        ShowRenderings();
        ExpectNothingCrossed("the tag's value " + markup);
        host->Destroy();
    }
}

// Sheets of both renderings that read a local file or the other origin
// through document(), an import or an entity: inline, in a local file and
// served by the page's own origin.
TEST_F(OriginSweepTest, SheetsReadNoLocalFileOrOtherOrigin)
{
    const std::string head
        = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">";
    std::vector<std::string> sheets;
    for (const std::string& where : {files.Path() + "/marker.xml", "file://" + files.Path() + "/marker.xml",
             std::string("file:///etc/passwd"), other.Url("/marker.xml"), page.Url("/away.xml")}) {
        sheets.push_back(head + "<xsl:template match=\"/\"><html><body><xsl:copy-of select=\"document('"
            + where + "')\"/><xsl:value-of select=\"document('" + where
            + "')\"/></body></html></xsl:template>" + "</xsl:stylesheet>");
        sheets.push_back(head + "<xsl:import href=\"" + where + "\"/></xsl:stylesheet>");
        sheets.push_back("<!DOCTYPE xsl:stylesheet [<!ENTITY x SYSTEM \"" + where + "\">]>" + head
            + "<xsl:template match=\"/\"><p>&x;</p></xsl:template></xsl:stylesheet>");
    }
    ASSERT_TRUE(Start({{"id", std::string("ed1")}, {"Value", std::string("<p>text</p>")}}));
    ScriptValue out;
    const std::string file = files.Path() + "/sheet.xsl";
    for (const std::string& sheet : sheets) {
        ASSERT_TRUE(qmtest::WriteFile(file, sheet));
        page.Answer("/sheet.xsl", 200, sheet);
        for (const std::string& setting : {sheet, file, "file://" + file, page.Url("/sheet.xsl")}) {
            host->Set("PreviewXSLT", ScriptValue::String(setting));
            host->Set("ScreenReaderXSLT", ScriptValue::String(setting));
            host->Get("PreviewXSLT", out);
            host->Get("ScreenReaderXSLT", out);
            ShowRenderings();
            ExpectNothingCrossed(setting + " holding " + sheet);
        }
        host->Invoke("ClearCache", {}, out); // the next sheet under the same names
    }
}
