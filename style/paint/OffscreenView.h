#pragma once
// The document's offscreen bitmap as the window and exports see it: which
// rows and columns are shown, which tiles are resident, and painting the whole document
// into them. See PaintState.h for the model. Each answers false (and paints
// nothing more) when the bitmap or a tile's memory cannot be had; none
// throws.

#include <functional>

class CElement;

// Prepares the bitmap for the body's laid-out size (PrepareBitmap), records
// the geometry, makes the shown rows' tiles resident and repaints every
// resident tile. No layout.
bool RepaintDocument(CElement* root);
// The window shows document rows [top, bottom): the tiles of those rows and
// of a screen or two around them become resident, those that were not are
// painted, and the least recently shown tiles beyond the budget are dropped.
// Tiles are painted from the geometry the last paint recorded: lay out
// through Draw or the notifications (or RepaintDocument after a layout).
bool ShowDocumentRows(CElement* root, int top, int bottom);
// The same for the window showing document columns [left, right) of those
// rows: of a bitmap wider than one tile, only the tiles of those columns
// and of a screen's width on either side become resident. The columns are
// kept for later calls of ShowDocumentRows.
bool ShowDocumentArea(CElement* root, int left, int top, int right, int bottom);
// An export needs rows [top, bottom): their tiles, all across, become resident and are
// painted when they were not. The budget is applied at the next show or
// repaint, so the rows stay readable until then.
bool ExportDocumentRows(CElement* root, int top, int bottom);
// Hands rows [top, bottom) to `band` in order, a band of tiles at a time:
// the band's tiles, all across, become resident and are painted when they
// were not, band(first, end) reads rows [first, end), and the tiles made
// resident for it are dropped again before the next band. So an export of
// any height holds the shown tiles and one band more. False when a tile
// cannot be had, a band across would hold more than 2 GB (a document some
// 500,000 pixels wide), or `band` answers false; no row after that band is
// handed.
bool StreamDocumentRows(CElement* root, int top, int bottom, const std::function<bool(int, int)>& band);
// The memory budget of the resident tiles, in bytes (about 64 MB unless
// set).
void SetBitmapBudget(CElement* root, long long bytes);
// Bytes of pixels the resident tiles hold now.
long long ResidentBitmapBytes(const CElement* root);
