#pragma once
// The bundles loaded into the process. There is one: the editor's own, whose
// resources folder is the project's resources/ folder. It is found without
// any path built into the program: the environment variable
// QM_RESOURCES_DIR names it when set, otherwise the folders above the running
// executable are searched for one holding a "resources" folder.

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

} // namespace qm::sys
