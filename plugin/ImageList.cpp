#include "plugin/ImageList.h"

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

void CImageList::DeleteImageList()
{
    m_images.ForEachItem([](void* item) { delete static_cast<CImage*>(item); });
    m_images.RemoveAll();
}
