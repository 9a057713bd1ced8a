// The engine's web-service call against a loopback server: the envelope of
// each SOAP version, the page asked first, and failures answered false with
// one message only when asked.

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/net/support/LoopbackServer.h"

#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kBody
    = "<doLibraryExists xmlns='urn:quillmark:webservice'><path>a/b</path></doLibraryExists>";

std::string Envelope(const char* ns, const std::string& body)
{
    return std::string("<e:Envelope xmlns:e=\"") + ns + "\"><e:Body>" + body + "</e:Body></e:Envelope>";
}

// The page's answer to every call, recorded.
class AnsweringControl : public qmtest::ViewControl
{
public:
    bool GoFireSOAPCall(const unsigned short* name, CSafeBuf& request, CSafeBuf& response) override
    {
        names.push_back(qmtest::Utf8(CSafeBuf(name)));
        requests.push_back(qmtest::Utf8(request));
        if (!answer.empty())
            response.AssignUTF8(answer.c_str());
        return !answer.empty();
    }
    std::vector<std::string> names;
    std::vector<std::string> requests;
    std::string answer;
};

class SoapService : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        ASSERT_TRUE(server.Ok());
        page = new AnsweringControl();
        control.reset(page);
        engine->m_control = control.get();
        engine->m_controlOptions = &control->Options;
    }

    bool Call(const std::string& path, bool report, std::string* resultName = nullptr,
        std::string* prefix = nullptr)
    {
        _xmlDoc* doc = nullptr;
        _xmlNode* result = nullptr;
        CSafeBuf boundPrefix;
        const bool ok = engine->FetchSoapService(
            CSafeBuf(server.Url(path).c_str()), CSafeBuf(kBody), &doc, &result, boundPrefix, report);
        EXPECT_EQ(ok, doc != nullptr);
        EXPECT_EQ(ok, result != nullptr);
        if (resultName && result)
            *resultName = reinterpret_cast<const char*>(result->name);
        if (prefix)
            *prefix = qmtest::Utf8(boundPrefix);
        XMLReleaseDom(doc);
        return ok;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
    qmtest::LoopbackServer server;
    AnsweringControl* page = nullptr;
};

TEST_F(SoapService, Soap12EnvelopeAndAnswer)
{
    server.Answer("/ws", 200,
        Envelope(kSoap12Namespace,
            "<w:doLibraryExistsResponse xmlns:w=\"urn:quillmark:webservice\">"
            "<w:exists>1</w:exists></w:doLibraryExistsResponse>"));
    std::string name, prefix;
    EXPECT_TRUE(Call("/ws", true, &name, &prefix));
    EXPECT_EQ(name, "doLibraryExistsResponse");
    EXPECT_EQ(prefix, "w:");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    ASSERT_NE(request.Header("Content-Type"), nullptr);
    EXPECT_EQ(*request.Header("Content-Type"), "application/soap+xml; charset=utf-8");
    EXPECT_EQ(request.Header("SOAPAction"), nullptr);
    EXPECT_NE(request.body.find(kSoap12Namespace), std::string::npos);
    EXPECT_NE(request.body.find(kBody), std::string::npos);
    EXPECT_EQ(page->names, (std::vector<std::string>{"doLibraryExists"}));
    EXPECT_EQ(driver.shown, 0);
}

TEST_F(SoapService, Soap11EnvelopeCarriesTheAction)
{
    control->SoapVersion = 11;
    server.Answer("/ws", 200,
        Envelope(kSoap11Namespace, "<doLibraryExistsResponse xmlns=\"urn:quillmark:webservice\"/>"));
    std::string prefix = "unset";
    EXPECT_TRUE(Call("/ws", true, nullptr, &prefix));
    EXPECT_EQ(prefix, ""); // a default namespace binds no prefix
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    ASSERT_NE(request.Header("Content-Type"), nullptr);
    EXPECT_EQ(*request.Header("Content-Type"), "text/xml; charset=utf-8");
    ASSERT_NE(request.Header("SOAPAction"), nullptr);
    EXPECT_EQ(*request.Header("SOAPAction"), "\"urn:quillmark:webservice/doLibraryExists\"");
    EXPECT_NE(request.body.find(kSoap11Namespace), std::string::npos);
}

TEST_F(SoapService, FaultsAndRefusedConnectionsAnswerFalseWithOneMessageWhenAsked)
{
    server.Answer("/fault", 500,
        Envelope(kSoap12Namespace, "<e:Fault><e:Reason><e:Text>no</e:Text></e:Reason></e:Fault>"));
    server.Answer("/fault200", 200,
        Envelope(kSoap11Namespace,
            "<e:Fault><faultcode>e:Server</faultcode><faultstring>no</faultstring></e:Fault>"));
    server.Answer("/notsoap", 200, "<html>hello</html>");
    for (const char* path : {"/fault", "/fault200", "/notsoap", "/missing"}) {
        SCOPED_TRACE(path);
        const int before = driver.shown;
        EXPECT_FALSE(Call(path, false));
        EXPECT_EQ(driver.shown, before);
        EXPECT_FALSE(Call(path, true));
        EXPECT_EQ(driver.shown, before + 1);
    }
    // Nothing listens on a closed port.
    std::string url;
    {
        qmtest::LoopbackServer gone;
        url = gone.Url("/ws");
    }
    _xmlDoc* doc = nullptr;
    _xmlNode* result = nullptr;
    CSafeBuf prefix;
    const int before = driver.shown;
    EXPECT_FALSE(
        engine->FetchSoapService(CSafeBuf(url.c_str()), CSafeBuf(kBody), &doc, &result, prefix, true));
    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(driver.shown, before + 1);
}

TEST_F(SoapService, ThePageIsAskedFirstAndMayAnswer)
{
    page->answer = Envelope(kSoap12Namespace, "<r xmlns=\"urn:quillmark:webservice\"/>");
    std::string name;
    EXPECT_TRUE(Call("/never", true, &name));
    EXPECT_EQ(name, "r");
    EXPECT_TRUE(server.Requests().empty());
    ASSERT_EQ(page->requests.size(), 1u);
    EXPECT_NE(page->requests[0].find("<soap12:Envelope"), std::string::npos);
}

} // namespace
