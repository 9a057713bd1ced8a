#pragma once
// Readers of the style drop-list's documents.
//
// The style document (root "styles") lists the page's styles: each "style"
// child of a "styles" element is one ungrouped item, each "group" child a
// titled run of items (its own "style" children). A style names its label
// ("name", else "label"), its "description", its element ("elt"), the page's
// identifier ("id") and any number of "attr" children holding a "name" and a
// "value". Labels, group titles and descriptions are taken in the control's
// language where an xml:lang twin exists. Element names and labels are
// cleaned (CMorvaXEditorCtrl::ValidateTag), so "<h1>" and ".note" come out as
// "h1" and "note". Every text is cut to its field; an item keeps its
// attributes newest first (the last "attr" of the document heads the chain).
//
// A style given to ApplyStyleXML is a small document of its own: root
// "style" with one "elt" and its "attr" children, kept in document order.

#include "base/text/SafeBuf.h"
#include "editor/StyleBarItem.h"

#include <libxml/tree.h>

// Appends the items of doc after last (which must not be null: the list
// always starts with its "None" item) and moves last to the new tail.
// Answers how many items were read; a null document or one without styles
// reads none.
int ReadStyleItems(xmlDoc* doc, const CSafeBuf& lang, STYLE_BAR_ITEM*& last);

// Numbers the list for the drop-list: every change of group title takes a
// row of its own (a group's heading, or the separator before an ungrouped
// item that follows a group), then the item takes the next row. Command ids
// run from nextCommand upward in list order; nextCommand is left at the
// first id not taken.
void NumberStyleItems(STYLE_BAR_ITEM* head, int& nextCommand);

// Reads an ApplyStyleXML document: element = its trimmed "elt"; attributes
// = every "/style/attr" with a non-empty trimmed name and value, in
// document order (owned by the caller: FreeAttributeItems); cls = the value
// of the "class" attribute among them. False, with nothing handed out, when
// the text does not parse or names no element.
bool ReadStyleXML(const unsigned short* xml, CSafeBuf& element, ATTRIBUTE_ITEM*& attributes, CSafeBuf& cls);
