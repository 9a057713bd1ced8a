// Web-service calls of the engine: one SOAP request, posted over CXMLHttp
// with the control's proxy and identifier headers, its answer read back.
// The page is offered each request first (GoFireSOAPCall) and may answer it
// itself.

#include "editor/XHTML.h"

#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"
#include "element/services/ControlServices.h"
#include "net/XMLHttp.h"

#include <string>

namespace {

constexpr int kSoap11 = 11;

void SetUpProxy(CXMLHttp& http, CControlServices* control)
{
    if (!control || !control->UseProxy()) {
        http.SetProxy(CXMLHttp::kProxyDirect, CSafeBuf(), 0, CSafeBuf(), CSafeBuf());
        return;
    }
    http.SetProxy(CXMLHttp::kProxyManual, control->ProxyServer, static_cast<unsigned int>(control->ProxyPort),
        control->ProxyUser, control->ProxyPassword);
}

} // namespace

bool CXHTML::FetchSoapService(const unsigned short* url, const CSafeBuf& body, _xmlDoc** document,
    _xmlNode** result, CSafeBuf& prefix, bool report)
{
    if (document)
        *document = nullptr;
    if (result)
        *result = nullptr;
    prefix.Empty();
    const CSafeBuf operation = SoapOperationName(body);
    const int version = m_control ? m_control->SoapVersion : 12;
    const std::string envelope = BuildSoapEnvelope(body, version);

    std::string answerText;
    bool answered = false;
    if (m_control) {
        CSafeBuf request;
        request.AssignUTF8(envelope.c_str());
        CSafeBuf response;
        if (m_control->GoFireSOAPCall(operation, request, response)) {
            char* utf8 = nullptr;
            const int n = response.CreateUTF8Str(&utf8);
            if (utf8 && n > 0)
                answerText.assign(utf8, static_cast<std::size_t>(n));
            delete[] utf8;
            answered = true;
        }
    }
    if (!answered) {
        CXMLHttp http;
        if (url && http.Open("POST", url)) {
            const bool soap11 = version == kSoap11;
            AddHttpHeaders(&http, m_control ? &m_control->Headers() : nullptr,
                soap11 ? kSoap11ContentType : kSoap12ContentType);
            if (soap11) {
                CSafeBuf action("\"");
                action += kServiceNamespace;
                action += "/";
                action += operation;
                action += "\"";
                http.SetRequestHeader("SOAPAction", action);
            }
            SetUpProxy(http, m_control);
            http.SetUpload(operation == "doLibraryUpload");
            // A refused connection reads as 404; a fault comes with a 500.
            if (http.Send(envelope))
                answerText = http.GetResponseText();
        }
    }

    SoapAnswer answer;
    if (answerText.empty() || !ReadSoapAnswer(answerText.data(), answerText.size(), answer)) {
        if (report)
            DisplayMessageBox("message-box/service-not-available");
        return false;
    }
    prefix = answer.prefix;
    if (result)
        *result = answer.result;
    if (document)
        *document = answer.document;
    else
        XMLReleaseDom(answer.document);
    return true;
}
