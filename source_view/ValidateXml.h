#pragma once
// ValidateXMLValue: whether a markup text is well-formed XML, with the
// result shown to the user when asked.
//
// The text is parsed wrapped in one element, so that a fragment with several
// top-level elements or bare text is accepted; an XML declaration and a
// document type declaration at its start are left out of the wrapped text
// (inside an element they could never be well-formed). Not well-formed: the
// message is "XML error - \n Error Reason: " and the parser's message, shown
// with show in a message box titled "Validation failed". Well-formed: with
// show, "Document is valid." titled "Validate".

#include "base/text/SafeBuf.h"

class TWindow;

bool ValidateXMLValue(
    const unsigned short* text, bool show, CSafeBuf* message = nullptr, TWindow* parent = nullptr);
