#pragma once
// A control started as a page starts it (OnCreate without a window), for the
// targets that drive its script interface. HOME points at a scratch folder
// (the control makes per-user folders), and a fake network records every
// request, so a target can check that nothing was fetched.

#include "fuzz/FakeNetwork.h"

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <cstdlib>
#include <string>

namespace qmfuzz {

struct StartedControl
{
    explicit StartedControl(int options)
    {
        static const bool home = [] {
            const char* tmp = std::getenv("TMPDIR");
            const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/qm-fuzz-home";
            setenv("HOME", path.c_str(), 1);
            return true;
        }();
        (void)home;
        control.Options = options;
        control.EnableTimestamp = 0; // the markup compared holds no clock
        control.OnCreate(nullptr);
        network.Restart();
    }

    CXHTML& Engine() { return *control.m_pXHTML; }
    CXDoc& Doc() { return control.m_pXHTML->m_doc; }

    FakeNetwork network;
    ScopedNetwork scoped{network};
    CMorvaXEditorCtrl control;
};

} // namespace qmfuzz
