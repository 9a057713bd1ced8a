#pragma once
// XSLT transforms of XML text.
//
// Parameters reach the style sheet as string values, in the map's order,
// whatever quotes they hold: a value is never evaluated as an XPath
// expression. Entries with an empty name are skipped; at most 25 are passed.
// The style sheet may read files (document(), imports) only from the
// resources folder, and the documents' external entities and DTDs come only
// from the system catalog and the resources folder (XmlEntityLoader.h); it
// never reaches the network, and may not write files or create folders. A
// refused read ends the transform, which fails. A transform that would take more
// than kMaxTransformOperations steps fails.

class CSafeBuf;
class CMapStringToString;

// Applies the style sheet text xslt to the XML text xml. On success xml is
// replaced by the result document as serialised by the library (an XML
// declaration and indentation, whatever the style sheet's output settings say)
// in UTF-8, one byte per character (not decoded), and the answer is true. On
// failure xml is unchanged; error, when given, holds the error text of the
// document that failed to parse (empty when the failure came later).
// namespaces (declarations callers pass along) plays no part.
bool TransformXML(CSafeBuf& xml, const unsigned short* xslt, CSafeBuf* error = nullptr,
    CMapStringToString* params = nullptr, const unsigned short* namespaces = nullptr);
bool TransformXML(CSafeBuf& xml, const unsigned short* xslt, CSafeBuf* error, CMapStringToString* params,
    const char* namespaces);

// The most parameters passed to a style sheet.
const int kMaxTransformParams = 25;

// The most steps (XPath operations and template applications, as libxslt
// counts them) that one transform may take. A style sheet that needs more,
// such as one whose templates recurse without end or call themselves twice
// at every level, is stopped and the transform fails. Filtering a document
// of tens of thousands of elements takes well under a million steps.
const unsigned long kMaxTransformOperations = 10000000;
