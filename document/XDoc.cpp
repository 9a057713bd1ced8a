// The document object: construction, destruction and the release functions.

#include "document/XDoc.h"

#include "base/shims/TextShims.h"
#include "element/Element.h"
#include "style/Image.h"
#include "style/cascade/RuleIndex.h"
#include "style/paint/PaintState.h"
#include "style/records/FontDefaults.h"

#include <cstdlib>

CXDoc::CXDoc() = default;

CXDoc::~CXDoc()
{
    ReleaseRemovedElements();
    delete m_root;
    m_root = nullptr;
    m_caretElement = nullptr;
    FreeStyleClass(0);
    ReleaseImagePool();
    ReleaseFontList();
    ReleaseBitmap();
}

int CXDoc::SysInit()
{
    m_markerStyle = std::make_unique<qm::text::Style>();
    m_markerLayout = std::make_unique<qm::text::Layout>();
    MacSetFontInfo(m_markerStyle.get(), kBaseFontSize, static_cast<unsigned long>(enfontind));
    m_markerLayout->SetStyle(m_markerStyle.get());
    return 1;
}

bool CXDoc::QueueRemovedElement(CElement* e)
{
    if (!e)
        return false;
    return m_removedList.AddTail(e) != nullptr;
}

void CXDoc::ReleaseRemovedElements()
{
    while (m_removedList.GetCount() > 0) {
        CElement* e = static_cast<CElement*>(m_removedList.GetHead());
        m_removedList.RemoveHead();
        delete e;
    }
}

void CXDoc::ReleaseImagePool()
{
    while (m_imagePool) {
        IMAGE_POOL_ITEM* next = m_imagePool->next;
        delete m_imagePool->image;
        delete m_imagePool;
        m_imagePool = next;
    }
}

void CXDoc::ReleaseBitmap()
{
    std::free(m_bitmapPixels);
    m_bitmapPixels = nullptr;
    m_bitmapBytes = 0;
    m_bitmapBytesPerRow = 0;
    m_bitmapWidth = 0;
    m_bitmapHeight = 0;
}

void CXDoc::ReleaseFontList()
{
    while (m_fontList) {
        FONT_LIST_ITEM* next = m_fontList->next;
        delete m_fontList;
        m_fontList = next;
    }
}

void CXDoc::SetDefaultCSSValue(ELEMENT_STYLE* style)
{
    if (!style)
        return;
    for (BORDER_SIDE& side : style->border) {
        side.style = kLineNone;
        side.width = 3;
    }
}

int CXDoc::LoadSubDocumentForElement(CElement*, CSafeBuf& markup, bool)
{
    markup.Empty();
    return 0;
}

bool CXDoc::IsSubDocChanged(CElement*) { return false; }
