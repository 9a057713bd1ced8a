#pragma once
// Saving and restoring the current drawing port around a piece of drawing,
// and one-line wrappers of the port operations.
//
// BackupOldPort keeps the previous port, its bounds and a copy of its clip
// in the caller's three variables; RestoreOldPort puts them back and leaves
// the clip copy null, so restoring twice does nothing the second time.

#include "base/shims/QuickDraw.h"

// Disposes of any clip still held in oldClip; saves the current port, its
// bounds and a copy of its clip; makes newPort current with the clip
// (-32000, -32000)-(32000, 32000) and the origin (-x, -y).
void BackupOldPort(GrafPtr& oldPort, Rect& oldBounds, RgnHandle& oldClip, GrafPtr newPort, int x, int y);
// When oldClip holds a region: makes oldPort current (unless it has since
// been destroyed), gives it that clip and the origin of oldBounds, and
// disposes of the region. oldClip is null afterwards in every case.
void RestoreOldPort(GrafPtr& oldPort, Rect& oldBounds, RgnHandle& oldClip);

void dGetPort(GrafPtr* port);
void dSetPort(GrafPtr port);
// Copies the current port's clip into rgn (empty without a port).
void dGetClip(RgnHandle rgn);
void dSetClip(RgnHandle rgn);
RgnHandle dNewRgn();
void dDisposeRgn(RgnHandle rgn);
void dSetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom);
void dSetOrigin(short h, short v);
void dLocalToGlobal(Point* pt);
void dGlobalToLocal(Point* pt);
void dSetCursor(const Cursor* cursor);
void dInitCursor();
