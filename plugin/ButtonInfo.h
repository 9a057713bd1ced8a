#pragma once
// The records of the toolbar: one ButtonInfo per button (of a bar, or of the
// definition list read from the button-definition document), one
// ToolBarStruct per bar. Texts are fixed UTF-16 arrays of 50 units and a
// terminator, written only through SetHeaderField (net/AdditionalHeaders.h),
// which cuts longer texts without splitting a surrogate pair.
//
// Kinds of button (ButtonInfo::kind): 0 defined only by the document, 1 a
// gap, 2 a page button ("button"), 3 a style ("style"), 4 a markup snippet
// ("snippet"), 5 a window ("window"), 7 to 39 the built-in commands
// (CMorvaXEditorCtrl::ButtonType), 40 the style box; -2 marks a bar break
// while a toolbar string is read and never reaches a record.

#include "element/services/AttributeItem.h"

class CImageList;

constexpr int kButtonKindDocument = 0;
constexpr int kButtonKindGap = 1;
constexpr int kButtonKindPage = 2;
constexpr int kButtonKindStyle = 3;
constexpr int kButtonKindSnippet = 4;
constexpr int kButtonKindWindow = 5;
constexpr int kButtonKindBarBreak = -2;
constexpr int kButtonKindStyleBox = 40;

// Button state bits.
constexpr unsigned kButtonChecked = 1;
constexpr unsigned kButtonEnabled = 2;
constexpr unsigned kButtonGrey = 4;

// The first command id of the toolbar's buttons.
constexpr unsigned kFirstButtonCommand = 36000;

// What a style button applies: an element name and attributes.
struct STYLE_TARGET
{
    unsigned short element[52]; // cut at 51 units
    ATTRIBUTE_ITEM* attributes; // owned chain, in document order
};

struct ButtonInfo
{
    unsigned int EditorCommandID;
    unsigned char toggle; // stays pressed between clicks
    int kind;
    int boxStyle; // 5 for the style box, else 0
    unsigned short tooltip[51];
    unsigned short textId[51];
    unsigned short label[51];
    STYLE_TARGET* styleTarget; // kind 3; owned
    unsigned short* text;      // kind 4 the snippet, kind 5 the URL; owned (new[])
    unsigned int state;        // kButton* bits; enabled on creation
    unsigned int drawnLook;
    int imageIndex; // in the bar's image list
    int left, top, right, bottom;
    int width; // the style box's width, else 0
    ButtonInfo* next;
};

struct ToolBarStruct
{
    int barKind; // 0 buttons, 1 the style box
    ButtonInfo* buttons;
    CImageList* images; // owned
    int left, top, right, bottom;
    CImageList* images2;    // owned, may be null
    unsigned char newRow;   // the bar begins a new toolbar row
    int nextImage;          // the image index the next button takes
    ButtonInfo* lastButton; // the tail of buttons, where buttons are appended
};

// A zero-filled button in the enabled state; null when no memory could be had.
ButtonInfo* NewButtonInfo();
// Frees one button with its style target, its attributes and its text.
void FreeButtonInfo(ButtonInfo* info);
// Frees a whole chain of buttons.
void FreeButtonInfos(ButtonInfo* head);
// Frees a bar with its buttons and both image lists.
void FreeToolBar(ToolBarStruct* bar);
