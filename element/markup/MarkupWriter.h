#pragma once
// Writing the element tree as XHTML: CElement::GetSourceCode (Element.h,
// flags and markers in SourceCode.h). The tag remover it merges with is
// RemoveTag (base/text/TextUtilsMarkup.h).
//
// The indented form (flag 0x1) puts block-level elements on lines of their
// own, one TAB a level, each line ended by "\r\n". A run of other content
// (text, inline elements, breaks, images, comments, elements that are
// neither block nor inline) is written on one line as it stands, so that
// reading the indented text again gives the same text content: a line break
// between two inline pieces would read as a blank. The content of pre is
// written as it is in every form.

#include "base/text/TextUtilsMarkup.h"

class CElement;
class CSafeBuf;
struct SourceCodeVar;

// True for the XHTML elements that never hold content (img, hr, col, input,
// ...): written "<tag />", and never given a text run to type into.
bool IsVoidElement(const CElement* e);
// Two neighbouring inline elements that may be written (and kept) as one:
// the same tag and attributes, both written by this writer with their own
// start and end tags (not locked, not empty, not a kind that writes
// itself; a custom element only with a piece of itself wrapped over lines).
bool CanMergeInline(const CElement* previous, const CElement* child);
// " name=\"value\"" with both escaped for XML (TABs and line ends as
// references, so they read back as they were).
void AppendXMLAttribute(CSafeBuf& out, const CSafeBuf& name, const CSafeBuf& value);

// e->GetSourceCode into a buffer of its own, appended to out: how a kind
// that writes itself (overrides GetSourceCode) appends its markup
// (CElement::AppendSourceCode).
bool AppendWrittenMarkup(CElement* e, CSafeBuf& out, int level, int flags, CSafeBuf& scratch1,
    CSafeBuf& scratch2, CSafeBuf& scratch3, SourceCodeVar* var);
