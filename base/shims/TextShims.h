#pragma once
// Text set-up, multi-line drawing and measuring over platform/text, with the
// handle names the drawing code uses: a text style and a text layout.

#include "base/shims/CGShims.h"
#include "base/text/SafeBuf.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"

typedef qm::text::Style* ATSUStyle;
typedef qm::text::Layout* ATSUTextLayout;

// Plain (not bold, italic, underlined or struck), |size| pixels, black, the
// given font number.
void MacSetFontInfo(ATSUStyle style, int size, unsigned long fontID);
// The layout takes the whole text in the style and draws on `context` (a
// CGContextRef).
void MacSetTextAndContext(ATSUTextLayout layout, ATSUStyle style, CSafeBuf& text, void* context);
// Draws the text broken into lines at most `width` pixels wide, on the
// layout's context. The line height is the ink height of "Yg"; the first
// baseline lies one line height below y (context y grows up), each next one
// a line height lower. Stops when a line takes no characters (a word wider
// than `width`); empty text draws nothing.
void MacDrawMultiLineText(ATSUTextLayout layout, ATSUStyle style, CSafeBuf& text, int x, int y, int width);
// The ink height of "Yg" in the style's font: the height of one line of its
// text. Remembered per font number, size, weight and slant, so a document of
// many runs measures it once per font.
int MacGetLineHeight(ATSUStyle style);
// Sets both sizes to 0; measures nothing.
void MacGetSize(ATSUTextLayout layout, int, int, int* width, int* height, CGContextRef context);
