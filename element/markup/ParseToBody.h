#pragma once
// The start of a read that takes the body while the markup is parsed: the
// parse goes on until the body opens.

struct _xmlNode;
class CXmlPushParse;

// Parses on until the body opens and answers it, with the root element in
// root: the root's first child named body or, with rootMayBeBody, a root not
// named html itself. Null, the parse stopped there, for markup to be read
// from its whole parse instead: its document type declares anything of its
// own (DeclaresInSubset), a child of the root before the body goes into the
// body (GoesIntoBody), the first node named body is no element, or no body
// opens before the parse ends.
_xmlNode* ParseToBody(CXmlPushParse& parse, bool rootMayBeBody, _xmlNode** root);
