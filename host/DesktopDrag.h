#pragma once
// What a drag carries, in the plug-in's drag flavours and as the desktop's
// drag data. The plug-in's drags know two flavours another program can give
// or take: 'utxt', UTF-16 plain text, and 'furl', a file location (one an
// item). The desktop offers text (UTF-8) and a list of URIs.
//
// To the desktop: the text of the first item that has one, and the file
// location of every item that has one. From the desktop: each URI becomes
// an item with its 'furl'; text without URIs becomes item 1's 'utxt'.

#include "platform/dnd/DragSession.h"
#include "platform/events/Event.h"

#include <string>
#include <vector>

namespace qm::host {

struct DesktopDragData
{
    std::string text;              // UTF-8; empty: none
    std::vector<std::string> uris; // file locations
    bool Empty() const { return text.empty() && uris.empty(); }
};

constexpr dnd::FlavorType kDragTextFlavor = events::FourCC("utxt");
constexpr dnd::FlavorType kDragFileFlavor = events::FourCC("furl");

DesktopDragData DragDataOf(const dnd::DragSession& drag);
// Fills an empty drag session.
void PutDragData(const DesktopDragData& data, dnd::DragSession& drag);

} // namespace qm::host
