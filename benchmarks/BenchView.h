#pragma once
// The view of a document loaded without a control, as the control's window
// gives it: the window, the view and the view's width agree, so that a load
// lays the document out once. (With the view left empty, the scroll bar that
// a long document turns on lays the whole document out again at the empty
// view's width of 0.)

#include "document/XDoc.h"

inline void SetBenchView(CXDoc& doc, int width = 800, int height = 600)
{
    doc.m_viewRect = CRect(0, 0, (width + 7) / 8 * 8, height);
    doc.m_viewWidth = width;
    doc.m_windowRect = CRect(0, 0, width, height);
}
