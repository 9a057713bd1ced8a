#pragma once
// Class lists: the space-separated names of a "class" attribute.

class CElement;
class CSafeBuf;

// Whether name is the whole list or one of its space-separated words. An
// empty or null name is never in a list. Without classes the element's
// "class" attribute is the list.
bool HasClasInMultipleClass(CElement* e, const unsigned short* name, const unsigned short* classes);

// Modes of ChangeMultipleClass.
enum ClassChange
{
    kClassAdd = 0,
    kClassRemove = 1,
    kClassToggle = 2, // also every mode other than 0, 1 and 3
    kClassReplace = 3
};

// Edits one class name in a list:
//   add      an empty list becomes name; a list holding it stays; else
//            " " and name are appended;
//   remove   a list equal to name becomes empty; else every whole-word
//            occurrence goes with one following space, and the list is
//            trimmed;
//   replace  an empty list or one equal to name becomes replacement; equal
//            name and replacement change nothing; else every whole-word
//            occurrence is replaced (removed without a replacement) and the
//            list trimmed;
//   toggle   add when absent, remove when present.
// The list is *out when out is given (and is written back there); otherwise
// the element's "class" attribute, which is written back (an emptied list
// stays as an empty attribute) and the element's style recomputed
// (StyleChanged(1)). Answers whether the list changed.
bool ChangeMultipleClass(
    CElement* e, const unsigned short* name, int mode, const unsigned short* replacement, CSafeBuf* out);
