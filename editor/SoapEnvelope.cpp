// SOAP envelopes out and answers in. An answer is outside input: it is
// parsed by the XML layer (no network, bounded depth) and only navigated.

#include "editor/SoapEnvelope.h"

#include "base/xml/XmlLoad.h"

#include <cstring>

const char* const kServiceNamespace = "urn:quillmark:webservice";
const char* const kSoap12Namespace = "http://www.w3.org/2003/05/soap-envelope";
const char* const kSoap11Namespace = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kSoap12ContentType = "application/soap+xml; charset=utf-8";
const char* const kSoap11ContentType = "text/xml; charset=utf-8";

namespace {

bool LocalNameIs(const xmlNode* node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && node->name
        && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool InEnvelopeNamespace(const xmlNode* node)
{
    if (!node || !node->ns || !node->ns->href)
        return false;
    const char* href = reinterpret_cast<const char*>(node->ns->href);
    return std::strcmp(href, kSoap12Namespace) == 0 || std::strcmp(href, kSoap11Namespace) == 0;
}

xmlNode* FirstElement(xmlNode* parent)
{
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE)
            return c;
    }
    return nullptr;
}

// The first element below parent (depth first) with that local name.
xmlNode* FindDeep(xmlNode* parent, const char* name, int depth = 0)
{
    if (depth > 16)
        return nullptr;
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next) {
        if (LocalNameIs(c, name))
            return c;
        if (xmlNode* found = FindDeep(c, name, depth + 1))
            return found;
    }
    return nullptr;
}

void TextOf(xmlNode* node, CSafeBuf& out)
{
    out.Empty();
    if (!node)
        return;
    xmlChar* content = xmlNodeGetContent(node);
    if (content) {
        out.AssignUTF8(reinterpret_cast<const char*>(content));
        xmlFree(content);
    }
    out.Trim();
}

} // namespace

CSafeBuf SoapOperationName(const CSafeBuf& body)
{
    CSafeBuf name;
    int i = 0;
    const int n = body.Length();
    while (i < n
        && (body.GetAt(i) == ' ' || body.GetAt(i) == '\t' || body.GetAt(i) == '\r' || body.GetAt(i) == '\n'))
        ++i;
    if (i >= n || body.GetAt(i) != '<')
        return name;
    ++i;
    int start = i;
    for (; i < n; ++i) {
        const unsigned short c = body.GetAt(i);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/')
            break;
        if (c == ':')
            start = i + 1; // a prefix is not part of the name
    }
    if (i > start)
        name = body.Mid(start, i - start);
    return name;
}

std::string BuildSoapEnvelope(const CSafeBuf& body, int version)
{
    const bool soap11 = version == 11;
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    out += soap11 ? "<soap:Envelope xmlns:soap=\"" : "<soap12:Envelope xmlns:soap12=\"";
    out += soap11 ? kSoap11Namespace : kSoap12Namespace;
    out += "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">";
    out += soap11 ? "<soap:Body>" : "<soap12:Body>";
    char* utf8 = nullptr;
    const int length = body.CreateUTF8Str(&utf8);
    if (utf8 && length > 0)
        out.append(utf8, static_cast<std::size_t>(length));
    delete[] utf8;
    out += soap11 ? "</soap:Body></soap:Envelope>" : "</soap12:Body></soap12:Envelope>";
    return out;
}

bool ReadSoapAnswer(const char* bytes, std::size_t size, SoapAnswer& answer)
{
    answer.document = nullptr;
    answer.result = nullptr;
    answer.prefix.Empty();
    answer.fault.Empty();
    if (!bytes || size == 0) {
        answer.fault = "empty answer";
        return false;
    }
    xmlDoc* doc = LoadXMLBytes(bytes, size);
    if (!doc) {
        answer.fault = "the answer is not XML";
        return false;
    }
    xmlNode* root = xmlDocGetRootElement(doc);
    xmlNode* body = nullptr;
    if (LocalNameIs(root, "Envelope") && InEnvelopeNamespace(root)) {
        for (xmlNode* c = root->children; c && !body; c = c->next) {
            if (LocalNameIs(c, "Body"))
                body = c;
        }
    }
    xmlNode* result = FirstElement(body);
    if (!result) {
        answer.fault = "the answer holds no SOAP body";
        XMLReleaseDom(doc);
        return false;
    }
    if (LocalNameIs(result, "Fault") && InEnvelopeNamespace(result)) {
        xmlNode* reason = FindDeep(result, "faultstring");
        if (!reason)
            reason = FindDeep(result, "Text");
        TextOf(reason ? reason : result, answer.fault);
        if (answer.fault.IsEmpty())
            answer.fault = "SOAP fault";
        XMLReleaseDom(doc);
        return false;
    }
    if (xmlNs* ns = xmlSearchNsByHref(doc, result, reinterpret_cast<const xmlChar*>(kServiceNamespace))) {
        if (ns->prefix) {
            answer.prefix.AssignUTF8(reinterpret_cast<const char*>(ns->prefix));
            answer.prefix += ":";
        }
    }
    answer.document = doc;
    answer.result = result;
    return true;
}

bool SoapResultValue(xmlNode* result, const char* name, CSafeBuf& value)
{
    value.Empty();
    xmlNode* node = LocalNameIs(result, name) ? result : FindDeep(result, name);
    if (!node)
        return false;
    TextOf(node, value);
    return true;
}
