#include "base/app/PutFileDialog.h"

#include "base/text/Utf.h"
#include "platform/ui/PutFileDialog.h"
#include "platform/ui/Window.h"

#include <string>

namespace {

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

bool OpenFileDialog(const unsigned short* name, CSafeBuf& path, bool, bool, qm::ui::Window* parent)
{
    try {
        qm::events::PutFileRequest request;
        request.proposedName = ToUTF8String(name);
        request.fileType = "****";
        request.windowModal = parent != nullptr;
        if (parent)
            request.clientName = parent->Title();

        qm::events::PutFileReply reply;
        if (!qm::ui::RunPutFileDialog(request, reply) || !IsPlainFileName(reply.fileName))
            return false;

        std::string full = reply.folder;
        if (full.empty() || full.back() != '/')
            full += '/';
        full += reply.fileName;
        CSafeBuf chosen;
        chosen.AssignUTF8(full.c_str());
        path = chosen;
        return true;
    } catch (...) {
        return false;
    }
}
