#pragma once
// The drawing-port names the system's code uses, over platform/qd: a port
// pointer, a region handle, the QuickDraw rectangle (top, left, bottom,
// right), the point (v, h) and the cursor record.

#include "platform/qd/Cursor.h"
#include "platform/qd/Port.h"
#include "platform/qd/Region.h"

typedef qm::qd::Port* GrafPtr;
typedef qm::qd::Port* CGrafPtr;
typedef qm::qd::Region* RgnHandle;
typedef qm::qd::Rect Rect;
typedef qm::qd::Point Point;
typedef qm::qd::Cursor Cursor;
