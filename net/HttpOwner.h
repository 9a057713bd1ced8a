#pragma once
// CHttpOwner: what the network loader reads of the object a request is made
// for (the editor control). The loader sits below the control, so it knows the
// owner only through this interface.
//
// Owners travel through layers that cannot name this class (pictures, the
// localised text table) as an untyped `void* owner`. That pointer must always
// be made from a CHttpOwner*, not from the control's own type:
//
//     void* owner = static_cast<CHttpOwner*>(control);
//
// so that the loader's static_cast<CHttpOwner*>(owner) gets back exactly the
// pointer that went in. AsHttpOwner/FromHttpOwner below do both steps.

#include "base/text/SafeBuf.h"

struct ADDITIONAL_HTTP_HEADERS;

class CHttpOwner
{
public:
    virtual ~CHttpOwner() = default;

    // The proxy switch: true when requests go through the owner's proxy.
    virtual bool HttpUseProxy() const = 0;
    // The owner's proxy host, port, user and password (read whether or not the
    // switch is on).
    virtual void HttpProxy(
        CSafeBuf& server, unsigned int& port, CSafeBuf& user, CSafeBuf& password) const = 0;
    // The identifier header record sent with every request (may be null).
    virtual const ADDITIONAL_HTTP_HEADERS* HttpHeaders() const = 0;
    // The Debug setting: requests are written to the debug log while it is on.
    virtual bool HttpDebug() const = 0;
};

inline void* AsHttpOwner(CHttpOwner* owner) { return static_cast<void*>(owner); }

inline CHttpOwner* FromHttpOwner(void* owner) { return static_cast<CHttpOwner*>(owner); }
