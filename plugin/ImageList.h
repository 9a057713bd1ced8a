#pragma once
// CImageList: the pictures of one toolbar bar, in the order their buttons
// take them (a button keeps the index of its picture). Each picture is a
// CImage of its own, owned by the list.

#include "base/collections/PtrList.h"

class CImage;
class CRect;
namespace qm::cg {
class Context;
}

class CImageList
{
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Sets the picture width and height.
    void Create(int width, int height);
    // The background colour; all bits set means none.
    void SetBkColor(unsigned long colour) { m_background = colour; }
    unsigned long GetBkColor() const { return m_background; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    // Each appends one picture, loaded from bytes or from a file; bytes that
    // are no picture leave an empty picture in their place, so the indexes of
    // later pictures stay those of their buttons. Answers 1.
    int AddImageByBuf(const unsigned char* bytes, int size);
    int AddImageByFile(const unsigned short* path);

    int GetImageCount() const { return m_images.GetCount(); }
    // The picture at index; null beyond the list.
    CImage* GetImage(int index) const;
    // Draws the picture at index scaled into rect (top-down, flipped against
    // viewHeight into the context's y-up space; 0: not flipped), as a
    // lightened grey copy when grey. An index beyond the list, or an empty
    // picture, draws nothing. The background is accepted for callers that
    // pass one: pictures keep their own transparency.
    void DrawImage(qm::cg::Context* context, const CRect& rect, int index, unsigned long background,
        bool grey, int viewHeight) const;
    // Destroys every picture.
    void DeleteImageList();

private:
    CPtrList m_images; // CImage*, owned
    int m_width = 16;
    int m_height = 16;
    unsigned long m_background = 0xffffff;
};
