#pragma once
// The bundles loaded into the process. There is one: the editor's own, whose
// resources folder is the project's resources/ folder. It is found without
// any path built into the program: the environment variable
// QM_RESOURCES_DIR names it when set; otherwise the folders from the one
// holding the module with this code (the executable, or the plug-in's shared
// module inside a browser) upward are searched, and in each the first of
//   - a "resources" folder (an installed layout), or
//   - a file "resources.location" whose first line names an existing folder
//     by its absolute path (each build folder has one at its top, naming the
//     resources/ of the sources it was configured from)
// is the answer.

#include <string>
#include <vector>

namespace qm::sys {

struct Bundle
{
    std::string identifier;    // reverse-domain name
    std::string version;       // the bundle's version text, e.g. "1.0"
    std::string resourcesPath; // UTF-8 path of the resources folder, empty when not found
};

// The editor's own bundle identifier and version.
const char* OwnBundleIdentifier();
const char* OwnBundleVersion();

// The resources folder, looked up afresh on each call (see above); empty when
// there is none.
std::string ResourcesFolder();

// Every loaded bundle (the editor's own, with its resources folder filled in).
std::vector<Bundle> LoadedBundles();

// The folder holding the running executable, empty when it cannot be read.
std::string ExecutableFolder();

// The folder holding the module this code was linked into: the executable,
// or the shared module that a host loaded. Empty when it cannot be told.
std::string ModuleFolder();

} // namespace qm::sys
