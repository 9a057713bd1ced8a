#include "plugin/ImageList.h"

#include "base/geometry/Rect.h"
#include "style/Image.h"

CImageList::~CImageList() { DeleteImageList(); }

void CImageList::Create(int width, int height)
{
    m_width = width;
    m_height = height;
}

int CImageList::AddImageByBuf(const unsigned char* bytes, int size)
{
    CImage* image = new CImage();
    if (bytes && size > 0)
        image->LoadPictureMemory(reinterpret_cast<const char*>(bytes), size);
    m_images.AddTail(image);
    return 1;
}

int CImageList::AddImageByFile(const unsigned short* path)
{
    CImage* image = new CImage();
    if (path)
        image->LoadPictureFile(path);
    m_images.AddTail(image);
    return 1;
}

CImage* CImageList::GetImage(int index) const
{
    if (index < 0 || index >= m_images.GetCount())
        return nullptr;
    return static_cast<CImage*>(m_images.GetAt(m_images.FindIndex(index)));
}

void CImageList::DrawImage(
    qm::cg::Context* context, const CRect& rect, int index, unsigned long, bool grey, int viewHeight) const
{
    CImage* image = GetImage(index);
    if (!image || !context)
        return;
    if (grey)
        image->CopyImageGray(&rect, nullptr, context, viewHeight, CPoint(0, 0));
    else
        image->CopyImage(&rect, nullptr, context, viewHeight, CPoint(0, 0));
}

void CImageList::DeleteImageList()
{
    m_images.ForEachItem([](void* item) { delete static_cast<CImage*>(item); });
    m_images.RemoveAll();
}
