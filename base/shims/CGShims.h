#pragma once
// A 2-D graphics context taken from a drawing port, and the colour
// components the drawing code hands to it.

#include "base/shims/QuickDraw.h"
#include "platform/cg/Context.h"

typedef qm::cg::Context* CGContextRef;

// A context on the port's pixels (y-up, origin at the bottom left of the
// port's bounds), clipped to the port's clip within its bounds, its state
// saved, antialiasing off and image interpolation none. Null without a port.
CGContextRef CreateCGContext(GrafPtr port);
// Flushes the context, restores the state saved by CreateCGContext and ends
// the context; *context is null afterwards.
void EndCGContext(GrafPtr port, CGContextRef* context);

// A component of a packed colour (red in the low byte) divided by 255.
float fRed(unsigned long colour);
float fGreen(unsigned long colour);
float fBlue(unsigned long colour);
