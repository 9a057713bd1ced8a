// A shared module holding the platform code, as the plug-in's module does:
// the bundle test loads it to see where code inside a loaded module finds
// the resources folder.

#include "platform/sys/Bundle.h"

#include <string>

extern "C" __attribute__((visibility("default"))) const char* QmProbeResourcesFolder()
{
    static std::string folder;
    folder = qm::sys::ResourcesFolder();
    return folder.c_str();
}
