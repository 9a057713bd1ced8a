// A web service's answer: read as a SOAP envelope, its result and the
// values below it looked up; a document is handed out only with a result.

#include "base/xml/XmlLoad.h"
#include "editor/SoapEnvelope.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SoapAnswer answer;
    const bool ok = ReadSoapAnswer(reinterpret_cast<const char*>(data), size, answer);
    if (ok != (answer.document != nullptr) || ok != (answer.result != nullptr))
        std::abort();
    if (!ok && answer.fault.IsEmpty())
        std::abort();
    if (ok) {
        CSafeBuf value;
        SoapResultValue(answer.result, "url", value);
        SoapResultValue(answer.result, "faultstring", value);
        XMLReleaseDom(answer.document);
    }
    return 0;
}
