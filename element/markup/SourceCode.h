#pragma once
// The markup writer's vocabulary: the flag bits of CElement::GetSourceCode,
// the marker words that carry the caret and the selection through markup,
// and the state one writing pass shares between its calls.
//
// Markers. The caret and the selection travel inside the written text as
// marker words, so that they survive the way from tree to text and back: the
// caret as an attribute "_x_Here_to_put_cursor_x_" on the element that holds
// it (or the word inside a text run at the caret offset), the selection as
// the words "_x_Here_selection_begins_x_" and "_x_Here_selection_ends_x_"
// around the selected content.

// Flag bits of GetSourceCode. They pass down to the children unchanged;
// kinds read the bits this list does not name.
constexpr int kSourceIndent = 0x1;         // tags on lines of their own, one TAB a level, "\r\n" ends each
constexpr int kSourceDiagnostic = 0x8;     // locks ignored, generated breaks written, layout attributes
constexpr int kSourceShallow = 0x10;       // the element's tags without its children
constexpr int kSourceMerge = 0x20;         // neighbouring identical inline children written as one
constexpr int kSourceContentOnly = 0x80;   // the children without this element's own tags
constexpr int kSourceDivSelected = 0x1000; // a selected div carries divselected="yes"
constexpr int kSourceMarkers = 0x8000;     // selection or caret markers, as the SourceCodeVar says

extern const char kCaretMarker[];          // "_x_Here_to_put_cursor_x_"
extern const char kSelectionBeginMarker[]; // "_x_Here_selection_begins_x_"
extern const char kSelectionEndMarker[];   // "_x_Here_selection_ends_x_"

// Shared by all the calls of one writing pass.
struct SourceCodeVar
{
    // Set: the pass marks the selection; clear: the pass marks the caret.
    bool selection = false;
    // 0 before the selection-begins marker is written, 1 after it, 2 once the
    // selection has been closed.
    int state = 0;
};
