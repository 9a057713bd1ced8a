#pragma once
// What the kinds shown as an icon share (comments, scripts, holders): their
// picture, the box it gives them, how it is painted, and how their content is
// read and written as markup text rather than as child elements.
//
// An icon kind holds its picture and its size. The picture is loaded once,
// the first time the element is laid out or measured; a picture that cannot
// be had leaves the size 0 x 0, and the element then takes no room.

#include "base/geometry/Size.h"
#include "base/text/SafeBuf.h"
#include "style/Image.h"

class CElement;
struct SourceCodeVar;
struct _xmlNode;

struct IconPicture
{
    CImage image;
    int width = 0;
    int height = 0;
    bool loaded = false;
};

// Loads the bundle resource name into icon (once; later calls do nothing).
void LoadIconResource(IconPicture& icon, const char* name);
// Loads the control's icon name, falling back to the bundle resource
// fallback without a control or when the control has no such icon.
void LoadControlIcon(IconPicture& icon, CElement* e, const char* name, const char* fallback);

// Resolves e's margins (CalcForAll), then the box (0, 0, width, height); the baseline at the icon height plus the
// top and bottom margins, less 2.
void PlaceIconBox(CElement* e, void* dc, int width, int height);
// Raises size to the icon's width and height.
void RaiseToIcon(CSize& size, const IconPicture& icon);
// Draws the picture at origin; a selected element is then tinted over its box.
void PaintIcon(CElement* e, IconPicture& icon, void* dc, CPoint origin);

// Reads an icon element's node: the attributes only, then the node's markup
// without its outer start and end tags as the element's text. A text that
// holds "//" gets "//" in front, which the writer takes off again, so that a
// content starting with "//" (a commented CDATA opener) survives reading
// and writing unchanged.
bool ReadIconElementText(CElement* e, _xmlNode* node);
// Writes "<tag attrs>" + text + "</tag>" (script and holder form): with flag
// 0x1 indented and on lines of their own; the text trimmed at its start and
// without one leading "//"; the caret and selection markers as the writer's
// flags say.
void WriteIconElement(const CElement* e, CSafeBuf& out, int level, int flags, SourceCodeVar* var);
// The caret marker in front (caret mode) or the selection markers around
// (selection mode) of an element written as a whole.
void AddWholeElementMarkers(const CElement* e, CSafeBuf& out, int flags, SourceCodeVar* var);
