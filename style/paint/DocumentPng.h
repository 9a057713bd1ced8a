#pragma once
// The painted document as a PNG file of its laid-out size, written band by
// band: StreamDocumentRows (OffscreenView.h) paints a band of tiles at a
// time into cg::PngStream, which compresses the rows at once, so the export
// holds the tiles the window shows and one band more whatever the
// document's height, and no copy of the picture.

#include <string>

class CElement;

enum class DocumentPngResult
{
    Written,
    // No bitmap, a laid-out size with no pixels, or a tile whose memory
    // cannot be had.
    NotPainted,
    // The file cannot be created or written; nothing is left of it.
    NotWritten,
};

// Rows and columns [0, laid-out height) x [0, laid-out width) of the root's
// bitmap (after RepaintDocument), painted where they were not.
DocumentPngResult WriteDocumentPNG(CElement* root, const std::string& path);
