#include "base/shims/PortShims.h"

#include <new>

namespace {

// The current port when it still exists; a port pointer can outlive its port.
GrafPtr LiveCurrentPort()
{
    GrafPtr port = qm::qd::GetPort();
    return qm::qd::IsLivePort(port) ? port : nullptr;
}

} // namespace

void BackupOldPort(GrafPtr& oldPort, Rect& oldBounds, RgnHandle& oldClip, GrafPtr newPort, int x, int y)
{
    dDisposeRgn(oldClip);
    oldClip = nullptr;
    GrafPtr current = LiveCurrentPort();
    oldPort = current;
    oldBounds = current ? current->Bounds() : Rect{0, 0, 0, 0};
    oldClip = dNewRgn();
    if (oldClip && current)
        oldClip->CopyFrom(current->Clip());
    dSetPort(newPort);
    if (qm::qd::IsLivePort(newPort)) {
        qm::qd::Region wide;
        wide.SetRect(-32000, -32000, 32000, 32000);
        newPort->SetClip(wide);
        newPort->SetOrigin(-x, -y);
    }
}

void RestoreOldPort(GrafPtr& oldPort, Rect& oldBounds, RgnHandle& oldClip)
{
    if (oldClip) {
        if (qm::qd::IsLivePort(oldPort)) {
            qm::qd::SetPort(oldPort);
            oldPort->SetClip(*oldClip);
            oldPort->SetOrigin(oldBounds.left, oldBounds.top);
        } else if (!oldPort) {
            qm::qd::SetPort(nullptr);
        }
        delete oldClip;
    }
    oldClip = nullptr;
}

void dGetPort(GrafPtr* port)
{
    if (port)
        *port = LiveCurrentPort();
}

void dSetPort(GrafPtr port) { qm::qd::SetPort(qm::qd::IsLivePort(port) ? port : nullptr); }

void dGetClip(RgnHandle rgn)
{
    if (!rgn)
        return;
    GrafPtr port = LiveCurrentPort();
    if (port)
        rgn->CopyFrom(port->Clip());
    else
        rgn->SetEmpty();
}

void dSetClip(RgnHandle rgn)
{
    GrafPtr port = LiveCurrentPort();
    if (port && rgn)
        port->SetClip(*rgn);
}

RgnHandle dNewRgn() { return new (std::nothrow) qm::qd::Region(); }

void dDisposeRgn(RgnHandle rgn) { delete rgn; }

void dSetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom)
{
    if (rgn)
        rgn->SetRect(left, top, right, bottom);
}

void dSetOrigin(short h, short v)
{
    GrafPtr port = LiveCurrentPort();
    if (port)
        port->SetOrigin(h, v);
}

void dLocalToGlobal(Point* pt)
{
    GrafPtr port = LiveCurrentPort();
    if (port && pt)
        port->LocalToGlobal(*pt);
}

void dGlobalToLocal(Point* pt)
{
    GrafPtr port = LiveCurrentPort();
    if (port && pt)
        port->GlobalToLocal(*pt);
}

void dSetCursor(const Cursor* cursor) { qm::qd::SetCursor(cursor); }

void dInitCursor() { qm::qd::InitCursor(); }
