#pragma once
// Putting the replacement of a document's own entities where the references
// to them stand, so that the document reads the same without its DTD.
//
// Parsed without substitution, a reference to an entity that the document
// declares in its internal subset stays a node that only names the entity:
// a reader that frees the DTD, or reads only the first text of an attribute,
// loses the entity's text. XmlExpandEntities replaces every reference to an
// internal entity, in element content and in attribute values, nested
// references included: in content by copies of the entity's text and
// elements, joined with the texts beside them as if they had been written
// there; in an attribute by the entity's text, its white space (TAB, LF, CR)
// written as blanks, as an XML reader normalises it. References to external
// entities (never fetched) and to undeclared ones stay as they are.
//
// The expansion is bounded, whatever the library let through: every
// reference expanded costs the length of the entity's replacement text (at
// least 1) and 64 for each node other than text that it puts in place (an
// element, a comment ...), and the expansion stops when the cost would pass
// budget. It also
// stops when the elements it puts in place would nest deeper than the parser
// lets a document nest them. libxml2's own substitution is not used: it
// appends to a growing text for every reference, so its time grows with the
// square of their number.

#include <libxml/tree.h>

#include <cstddef>

class CSafeBuf;

// False when the expansion stopped (the document is then expanded only in
// part, and is to be dropped), with the error text in error (when given):
// "Incorrect XML<br />Reason: ...<br />Line: " and the reference's line.
bool XmlExpandEntities(xmlDoc* doc, size_t budget, CSafeBuf* error);
