#pragma once
// The editor's web-service calls as SOAP messages: every operation lives in
// one service namespace; a request body (an element of that namespace) goes
// inside a SOAP 1.2 or SOAP 1.1 envelope, and the answer's Body holds the
// operation's result element or a Fault.

#include "base/text/SafeBuf.h"

#include <libxml/tree.h>

#include <cstddef>
#include <string>

// The namespace URI of every web-service operation.
extern const char* const kServiceNamespace;

// The envelope namespaces and content types of the two SOAP versions.
extern const char* const kSoap12Namespace;
extern const char* const kSoap11Namespace;
extern const char* const kSoap12ContentType; // "application/soap+xml; charset=utf-8"
extern const char* const kSoap11ContentType; // "text/xml; charset=utf-8"

// The operation a request body calls: the local name of its first element
// ("doLibraryUpload" for "<doLibraryUpload xmlns='...'>..."); empty when the
// body starts with no element.
CSafeBuf SoapOperationName(const CSafeBuf& body);

// The request as sent: the body in an envelope of the version (11 for SOAP
// 1.1, anything else SOAP 1.2), as UTF-8.
std::string BuildSoapEnvelope(const CSafeBuf& body, int version);

// What an answer held.
struct SoapAnswer
{
    xmlDoc* document = nullptr; // owned by the caller when read succeeded
    xmlNode* result = nullptr;  // the first element in the Body
    CSafeBuf prefix;            // bound to kServiceNamespace at the result, with ":"; or empty
    CSafeBuf fault;             // the fault's reason when the Body held a Fault
};

// Reads size bytes of an answer (UTF-8 XML). True when they parse as an
// envelope (of either version) whose Body holds an element other than a
// Fault: answer then owns the document. Otherwise false, with no document;
// a Fault's text (faultstring, or Reason/Text) is left in answer.fault, and a
// text that is no envelope leaves a short description there.
bool ReadSoapAnswer(const char* bytes, std::size_t size, SoapAnswer& answer);

// The trimmed text of the first element below result (depth first) whose
// local name is name; false (value empty) when there is none.
bool SoapResultValue(xmlNode* result, const char* name, CSafeBuf& value);
