#include "style/Image.h"

#include "base/files/FileUtilsImage.h"
#include "base/files/FileUtilsNames.h"
#include "base/files/SystemPath.h"
#include "base/files/UserFolders.h"
#include "base/geometry/GeometryTypes.h"
#include "base/shims/FileShims.h"
#include "net/LoadHTTPFile.h"
#include "platform/cg/Context.h"
#include "platform/cg/Pixel.h"
#include "platform/image/ImageDecoder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

CImage::CImage() = default;

CImage::~CImage() = default;

void CImage::SetProxy(bool useProxy, const unsigned short* host, int port, const unsigned short* user,
    const unsigned short* password)
{
    m_useProxy = useProxy;
    m_proxyHost.Empty();
    m_proxyHost = host;
    m_proxyUser.Empty();
    m_proxyUser = user;
    m_proxyPassword.Empty();
    m_proxyPassword = password;
    m_proxyPort = port;
}

void CImage::Clear()
{
    m_gray.reset();
    m_image.reset();
    m_width = 0;
    m_height = 0;
    m_fileSize = 0;
}

bool CImage::Adopt(qm::cg::ImageRef image)
{
    if (image != nullptr && qm::image::IsAcceptedPictureSize(image->Width(), image->Height())) {
        m_image = std::move(image);
        m_width = m_image->Width();
        m_height = m_image->Height();
    }
    return m_image != nullptr;
}

bool CImage::LoadPictureFile(const unsigned short* path, void*)
{
    try {
        Clear();
        const std::string file = PathToSystem(path);
        if (file.empty())
            return false;
        if (!Adopt(qm::image::DecodeFile(file)))
            return false;
        struct stat info;
        if (stat(file.c_str(), &info) == 0)
            m_fileSize = static_cast<long>(info.st_size);
        return true;
    } catch (...) {
        Clear();
        return false;
    }
}

bool CImage::LoadPictureMemory(const char* bytes, int size, void* extra)
{
    try {
        if (bytes == nullptr || size <= 0)
            return false;
        CSafeBuf ext;
        if (CheckImageType(reinterpret_cast<const unsigned char*>(bytes), size, &ext) == 0)
            return false;

        const CSafeBuf& folder = GetUserTempFolder();
        if (folder.IsEmpty()) {
            // Nowhere to put a file: decode the bytes as they are.
            Clear();
            return Adopt(qm::image::DecodeBytes(bytes, static_cast<size_t>(size)));
        }
        CSafeBuf name;
        GenerateRandomFileName(name);
        CSafeBuf path(folder);
        path += name;
        path += '.';
        path += ext;
        if (!WriteToFile(path, bytes, size)) {
            Clear();
            return false;
        }
        return LoadPictureFile(path, extra);
    } catch (...) {
        Clear();
        return false;
    }
}

bool CImage::LoadImage(const unsigned short* url, void* extra)
{
    try {
        if (url == nullptr || url[0] == 0) {
            Clear();
            return false;
        }
        CSafeBuf localFile(url);
        CSafeBuf unused1, unused2, unused3, target;
        CSafeBuf host, user, password;
        unsigned int port = 80;
        if (m_useProxy) {
            host = m_proxyHost;
            user = m_proxyUser;
            password = m_proxyPassword;
            port = m_proxyPort > 0 ? static_cast<unsigned int>(m_proxyPort) : 80;
        }
        LoadHTTPFile(m_owner, url, localFile, unused1, -1, target, nullptr, unused2, nullptr, host, port,
            user, password, unused3, nullptr, "application/soap+xml", nullptr, nullptr);
        if (localFile.IsEmpty()) {
            Clear();
            return false;
        }
        return LoadPictureFile(localFile, extra);
    } catch (...) {
        Clear();
        return false;
    }
}

bool CImage::Draw(const qm::cg::Image& image, const RECT* src, qm::cg::Context* context, int viewHeight,
    CPoint offset) const
{
    long left, top, right, bottom;
    if (src != nullptr) {
        left = static_cast<long>(src->left) + offset.x;
        right = static_cast<long>(src->right) + offset.x;
        top = static_cast<long>(src->top) + offset.y;
        bottom = static_cast<long>(src->bottom) + offset.y;
    } else {
        left = offset.x;
        top = offset.y;
        right = left + m_width;
        bottom = top + m_height;
    }
    const long width = right - left;
    const long height = bottom > top ? bottom - top : top - bottom;
    if (width <= 0 || height <= 0)
        return true;
    const long y = viewHeight != 0 ? viewHeight - bottom : bottom;

    context->SaveGState();
    context->SetInterpolationQuality(qm::cg::InterpolationQuality::None);
    context->DrawImage(qm::cg::Rect{static_cast<double>(left), static_cast<double>(y),
                           static_cast<double>(width), static_cast<double>(height)},
        image);
    context->RestoreGState();
    return true;
}

bool CImage::CopyImage(const RECT* src, const RECT*, qm::cg::Context* context, int viewHeight, CPoint offset)
{
    if (m_image == nullptr || context == nullptr)
        return false;
    try {
        return Draw(*m_image, src, context, viewHeight, offset);
    } catch (...) {
        return false;
    }
}

bool CImage::MakeGray()
{
    if (m_gray != nullptr)
        return true;
    if (m_image == nullptr || !qm::image::IsAcceptedPictureSize(m_width, m_height))
        return false;

    const size_t stride = static_cast<size_t>(m_width) * 4;
    std::vector<unsigned char> pixels;
    pixels.resize(stride * static_cast<size_t>(m_height), 0);

    {
        std::unique_ptr<qm::cg::Context> bitmap
            = qm::cg::Context::CreateBitmap(pixels.data(), m_width, m_height, static_cast<int>(stride));
        if (bitmap == nullptr)
            return false;
        bitmap->DrawImage(
            qm::cg::Rect{0, 0, static_cast<double>(m_width), static_cast<double>(m_height)}, *m_image);
        bitmap->Flush();
    }

    for (int row = 0; row < m_height; ++row) {
        for (int x = 0; x < m_width; ++x) {
            const qm::cg::Pixel stored = qm::cg::ReadPixel(pixels.data(), stride, x, row);
            if (stored.red == 0 && stored.green == 0 && stored.blue == 0 && stored.alpha == 0)
                continue;
            // Grey from the straight colour, so soft edges are not brightened
            // beyond their own opacity.
            const qm::cg::Pixel c = qm::cg::Unpremultiply(stored);
            const int gray = static_cast<int>(0.299 * c.red + 0.587 * c.green + 0.114 * c.blue) % 256;
            int value = gray == 0 ? 0 : gray + 40;
            if (value > 255)
                value = 255;
            const std::uint8_t v = static_cast<std::uint8_t>(value);
            qm::cg::WritePixel(
                pixels.data(), stride, x, row, qm::cg::Premultiply(qm::cg::Pixel{v, v, v, c.alpha}));
        }
    }
    m_gray = qm::cg::Image::FromPixels(pixels.data(), m_width, m_height, static_cast<int>(stride));
    return m_gray != nullptr;
}

bool CImage::CopyImageGray(
    const RECT* src, const RECT*, qm::cg::Context* context, int viewHeight, CPoint offset, void*)
{
    if (m_image == nullptr || context == nullptr)
        return false;
    if (m_width <= 0 || m_height <= 0)
        return true;
    try {
        if (!MakeGray())
            return false;
        return Draw(*m_gray, src, context, viewHeight, offset);
    } catch (...) {
        return false;
    }
}
