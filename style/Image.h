#pragma once
// CImage: one decoded picture, drawn scaled into a rectangle of a graphics
// context, in colour or as a lightened grey copy (the toolbar draws disabled
// buttons this way).
//
// Pictures come from a local file, from bytes in memory (written to a file
// in the per-user temporary folder first, or decoded straight from memory
// when there is no such folder) or from a URL through the network loader,
// with the picture's own proxy settings. Decoding is the platform's: PNG,
// JPEG, GIF, BMP and ".icns" icons, told by their bytes, whatever the file's
// name says; no other format is decoded.
//
// Coordinates: callers give rectangles top-down in view pixels; the context
// is y-up, so a rectangle's bottom is flipped against the view height (no
// flip when the view height is 0). Pictures are scaled to fill the
// rectangle with nearest-neighbour sampling, so small icons stay crisp.
//
// A failed load leaves an empty picture: size 0, nothing drawn, and the load
// answers false. Pictures larger than kMaxPicturePixels are refused (the
// decoder refuses them from the size their header declares, before any
// decoder runs).

#include "base/geometry/Point.h"
#include "base/text/SafeBuf.h"
#include "platform/cg/Image.h"
#include "platform/image/ImageDecoder.h"

#include <memory>

struct RECT;

namespace qm::cg {
class Context;
}

class CImage
{
public:
    // The largest picture accepted, in pixels (width x height): the decoder's limit.
    static constexpr long long kMaxPicturePixels = qm::image::kMaxPicturePixels;

    CImage();
    virtual ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The byte size of the last picture file loaded (0 when none).
    long GetFileSize() const { return m_fileSize; }
    // The decoded picture, null when empty.
    const qm::cg::ImageRef& GetImage() const { return m_image; }
    // Whether the grey copy has been made for the current picture.
    bool HasGrayBuffer() const { return m_gray != nullptr; }

    // Settings for URL loads: the owner (the control, as a CHttpOwner*
    // turned into void*) and the picture's own proxy.
    void SetOwner(void* owner) { m_owner = owner; }
    void* GetOwner() const { return m_owner; }
    void SetProxy(bool useProxy, const unsigned short* host, int port, const unsigned short* user,
        const unsigned short* password);

    // Loads a picture file. False, with an empty picture, when it cannot be
    // decoded. The last argument is handed along and otherwise unused.
    bool LoadPictureFile(const unsigned short* path, void* = nullptr);
    // Loads a picture from bytes whose format (PNG, GIF, BMP, JPEG) is
    // recognised from their first bytes; unrecognised bytes answer false and
    // leave no file behind.
    bool LoadPictureMemory(const char* bytes, int size, void* = nullptr);
    bool LoadImage(const char* bytes, int size, void* extra = nullptr)
    {
        return LoadPictureMemory(bytes, size, extra);
    }
    // Fetches a URL (or reads a "file://" location or local path) and loads it.
    bool LoadImage(const unsigned short* url, void* = nullptr);
    // Does nothing.
    void LoadEmptyImage() { }

    // Draws the picture into the rectangle src moved by offset (without src:
    // the picture's own size at offset). clip is not applied: the context's
    // own clip governs. False when there is no picture or no context.
    bool CopyImage(
        const RECT* src, const RECT* clip, qm::cg::Context* context, int viewHeight, CPoint offset);
    // The same with the grey copy, made on first use and kept until the next
    // load: each visible pixel becomes grey 0.299 r + 0.587 g + 0.114 b,
    // lightened by 40 (black stays black, at most 255), alpha kept. The grey
    // copy is always made as RGB pixels: colourSpace is accepted
    // for callers that pass one and is otherwise unused.
    bool CopyImageGray(const RECT* src, const RECT* clip, qm::cg::Context* context, int viewHeight,
        CPoint offset, void* colourSpace = nullptr);

private:
    void Clear();
    bool Adopt(qm::cg::ImageRef image);
    bool MakeGray();
    bool Draw(const qm::cg::Image& image, const RECT* src, qm::cg::Context* context, int viewHeight,
        CPoint offset) const;

    bool m_useProxy = false;
    CSafeBuf m_proxyHost;
    CSafeBuf m_proxyUser;
    CSafeBuf m_proxyPassword;
    int m_proxyPort = 80;
    long m_fileSize = 0;
    qm::cg::ImageRef m_image;
    qm::cg::ImageRef m_gray;
    void* m_owner = nullptr;
    int m_width = 0;
    int m_height = 0;
};
