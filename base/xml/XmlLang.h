#pragma once
// Language filter: keeps only the parts of a document in one language.

#include <libxml/tree.h>

// Replaces doc by a copy holding only the elements whose own or inherited
// xml:lang is lang (by the XPath lang() test, so "en" also keeps "en-GB") and
// the elements without a language; xml:lang attributes are dropped. Elements
// keep their names and namespaces. On success the old document is freed and
// the answer is true; otherwise doc is unchanged and the answer false. A
// document whose root element is in another language becomes a document
// without a root element.
bool LangFilter(xmlDoc*& doc, const unsigned short* lang);
