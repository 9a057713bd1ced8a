#include "base/PutFileDialog.h"

#include "platform/ui/PutFileDialog.h"

#include <string>

namespace {

std::string Utf8(const unsigned short* text)
{
    if (text == nullptr)
        return std::string();
    CSafeBuf buf(text);
    char* utf8 = nullptr;
    const int n = buf.CreateUTF8Str(&utf8);
    std::string out(utf8 != nullptr ? utf8 : "", utf8 != nullptr && n > 0 ? n : 0);
    delete[] utf8;
    return out;
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

bool OpenFileDialog(const unsigned short* name, CSafeBuf& path, bool, bool, void* parent)
{
    try {
        qm::events::PutFileRequest request;
        request.proposedName = Utf8(name);
        request.fileType = "****";
        request.windowModal = parent != nullptr;

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
