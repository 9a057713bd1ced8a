#include "platform/ui/PutFileDialog.h"

#include "platform/events/Services.h"

namespace qm::ui {

bool RunPutFileDialog(const events::PutFileRequest& request, events::PutFileReply& reply)
{
    reply = events::PutFileReply();
    try {
        events::PutFileReply answer;
        if (!events::Services::Get().Ui().PutFile(request, answer))
            return false;
        if (answer.folder.empty() || answer.fileName.empty())
            return false;
        reply = std::move(answer);
        return true;
    } catch (...) {
        reply = events::PutFileReply();
        return false;
    }
}

} // namespace qm::ui
