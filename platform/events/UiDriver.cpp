#include "platform/events/UiDriver.h"

namespace qm::events {

ModalAnswer UiDriver::ModalStep(ModalLoop&) { return ModalAnswer::Close(); }

std::uint32_t UiDriver::PopUpMenu(const MenuRequest&) { return 0; }

bool UiDriver::PutFile(const PutFileRequest&, PutFileReply&) { return false; }

int UiDriver::TrackDrag(dnd::DragSession&) { return kUserCanceledErr; }

void UiDriver::HelpTagChanged(const HelpTag*) { }

void UiDriver::ModelessChanged(ModalSubject&, bool) { }

bool UiDriver::OpenURL(const std::string&) { return true; }

} // namespace qm::events
