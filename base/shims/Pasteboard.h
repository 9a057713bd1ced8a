#pragma once
// Reading the clipboard and drag data into the system's text.
//
// Two conversions of flavour bytes into text: "wide" takes the bytes as
// UTF-16 units in the machine's byte order (half as many units as bytes; an
// odd last byte is dropped), otherwise each byte becomes one unit by its value.

#include "base/text/SafeBuf.h"
#include "platform/dnd/DragSession.h"

#include <cstddef>
#include <vector>

typedef qm::dnd::DragSession* DragRef;
typedef qm::dnd::DragItemRef ItemReference;
typedef qm::dnd::FlavorType FlavorType;

// The editor's own markup flavour and the text and file flavours.
constexpr FlavorType kFlavorEditorMarkup = qm::events::FourCC("QMRK");
constexpr FlavorType kFlavorEditorTag = qm::events::FourCC("QMD1");
constexpr FlavorType kFlavorUnicodeText = qm::events::FourCC("utxt");
constexpr FlavorType kFlavorFileURL = qm::events::FourCC("furl");

// The bytes GetDragData copies for a flavour read without a size: the size of
// the editor tag.
constexpr size_t kDragDataUnsizedBytes = 4;

// Reads a flavour of the first item of the clipboard. For "public.file-url"
// the item's flavour tagged 'furl' is taken, and for "com.apple.flat-rtfd"
// the one tagged 'rtfd', when the item has one; otherwise the flavour named.
// True when at least one unit was read; otherwise false with text empty.
bool GetClipboardString(const char* flavor, CSafeBuf& text, bool wide);

// Reads one flavour of one drag item.
// - 'QMRK' and 'utxt': out is a CSafeBuf that receives the data as UTF-16;
//   *size (when given) the number of units.
// - 'furl': out is a CSafeBuf that receives each byte as one unit; *size
//   (when given) the number of bytes.
// - Any other flavour: out is the caller's buffer and *size its room in
//   bytes; at most that many bytes are copied and *size becomes the number
//   copied (a room of 0 or less copies nothing and answers false). Without
//   size the room is taken to be kDragDataUnsizedBytes, the size of the
//   editor tag ('QMD1') that is read this way: at most that many bytes are
//   copied and the answer is true when the flavour has data. With out null
//   nothing is copied and the answer is false.
// False when the drag, the item or the flavour's data is missing; a text
// flavour's CSafeBuf is then emptied.
bool GetDragData(DragRef drag, ItemReference item, FlavorType flavor, void* out, int* size);

// The same conversion as GetClipboardString on a block of bytes; empty data
// gives empty text.
void CopyDataFromCFData(const unsigned char* data, size_t length, CSafeBuf& text, bool wide);
void CopyDataFromCFData(const std::vector<unsigned char>& data, CSafeBuf& text, bool wide);
