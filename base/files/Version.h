#pragma once
// The version text of a bundle.

#include "base/text/SafeBuf.h"

namespace qm::sys {
struct Bundle;
}

// version = the bundle's version text, trimmed of white space (null bundle:
// the editor's own). When the bundle has no version the text stays as it was.
void GetFileVersion(CSafeBuf& version, const qm::sys::Bundle* bundle = nullptr);
