#pragma once
// Name-value lists: singly linked lists of a name and an optional value, in
// which tables keep the attributes of each column, and the tree of such
// lists. A node owns its value; a list is owned through its head.
//
// A name holds at most kNameValueNameUnits - 1 characters. A longer name does
// not fit and is refused whole (no node is made or matched): cutting it would
// let two different long names stand for one another.

#include "base/text/SafeBuf.h"

constexpr int kNameValueNameUnits = 300;

struct NameValue
{
    unsigned short name[kNameValueNameUnits]; // always terminated
    unsigned short* value;                    // owned (array new), null when none
    NameValue* next;
};

struct NameValueTree
{
    NameValue* list;
    NameValueTree* left;
    NameValueTree* right;
};

// A new node with the name and, when not empty, a copy of the value. Null for
// a null name, a name that does not fit, or when memory runs out.
NameValue* CreateNameValue(const unsigned short* name, const unsigned short* value);

// The first node whose name equals name exactly (8-bit name zero-extended):
// value receives its value (empty when none). Answers whether one was found.
bool FindNameInNameValues(NameValue* list, const char* name, CSafeBuf& value);

// On a match the value is replaced (null or empty clears it) and true
// answered; otherwise, with add, a node is appended at the tail (or becomes
// the head) and true answered; else false. 8-bit text is zero-extended.
bool SetValueInNameValues(
    NameValue*& list, const unsigned short* name, const unsigned short* value, bool add);
bool SetValueInNameValues(NameValue*& list, const char* name, const unsigned short* value, bool add);
bool SetValueInNameValues(NameValue*& list, const unsigned short* name, const char* value, bool add);
bool SetValueInNameValues(NameValue*& list, const char* name, const char* value, bool add);

// Unlinks and frees the first node with the name; answers whether there was one.
bool RemoveNodeInNameValues(NameValue*& list, const unsigned short* name);

// Free one node (its value included, not its successors), a whole list, and
// a whole tree with its lists. Null is allowed.
void FreeNameValueNode(NameValue* node);
void FreeNameValue(NameValue* list);
void FreeNameValueTree(NameValueTree* tree);
