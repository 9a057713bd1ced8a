#pragma once
// The put-file dialog: asks where to save a file under a proposed name. The
// host's UI driver answers; the default driver cancels.

#include "platform/events/UiDriver.h"

namespace qm::ui {

// True with reply filled (the chosen folder and the name typed) when the user
// saves; false when cancelled or when the driver gave no folder or name.
bool RunPutFileDialog(const events::PutFileRequest& request, events::PutFileReply& reply);

} // namespace qm::ui
