#pragma once
// HOME pointed at a fresh scratch folder for a test, so that per-user folders
// the code makes stay out of the real home. When it goes away HOME gets its
// old value back first, then the folder is removed.

#include "tests/common/ScopedEnv.h"
#include "tests/common/TempDir.h"

#include <string>

namespace qmtest {

class TempHome
{
public:
    // Makes the folder fresh (see TempDir::Create) and sets HOME to it;
    // false, with HOME unchanged, when the folder could not be made.
    bool Create(const std::string& path, mode_t mode = 0700)
    {
        if (!m_dir.Create(path, mode))
            return false;
        m_home.Set(path.c_str());
        return true;
    }

    const std::string& Path() const { return m_dir.Path(); }

private:
    TempDir m_dir; // removed after HOME is back
    ScopedEnv m_home{"HOME"};
};

} // namespace qmtest
