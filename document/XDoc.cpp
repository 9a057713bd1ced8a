// The document object: construction, destruction and the release functions.

#include "document/XDoc.h"

#include "base/files/BundleResources.h"
#include "base/shims/TextShims.h"
#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/Image.h"
#include "style/cascade/RuleIndex.h"
#include "style/paint/PaintState.h"
#include "style/records/FontDefaults.h"

#include <cstdlib>
#include <initializer_list>

namespace {

// Loads a picture file of the bundle's resources folder; without the folder,
// or when the file cannot be decoded, the picture stays empty.
void LoadBundlePicture(CImage& picture, const char* name)
{
    CSafeBuf path;
    GetResourcePath(path, nullptr);
    if (path.IsEmpty())
        return;
    GetResourcePath(path, name);
    picture.LoadPictureFile(path);
}

} // namespace

CXDoc::CXDoc()
{
    // No colour profile is read: m_colorSpace stays null, which the drawing
    // code takes as the device's own RGB.
    LoadDocCursors(m_cursors);
    LoadBundlePicture(m_dragImage, "dragimage.gif");
    LoadBundlePicture(m_markerImage, "bmp00007.bmp");
    m_markerImageWidth = m_markerImage.GetWidth();
    m_markerImageHeight = m_markerImage.GetHeight();
}

CXDoc::~CXDoc()
{
    ReleaseTree();
    FreeStyleClass(0);
    CleanUnRedo();
    ReleaseImagePool();
    ReleaseFontList();
    m_markerLayout.reset();
    m_markerStyle.reset();
    ReleaseBitmap();
    ReleaseSubDocInfo();
}

int CXDoc::SysInit()
{
    m_markerStyle = std::make_unique<qm::text::Style>();
    m_markerLayout = std::make_unique<qm::text::Layout>();
    MacSetFontInfo(m_markerStyle.get(), kBaseFontSize, static_cast<unsigned long>(enfontind));
    m_markerLayout->SetStyle(m_markerStyle.get());
    return 1;
}

namespace {

bool SubtreeHolds(const CElement* top, const CElement* e)
{
    // Iterative document-order walk of top's subtree.
    const CElement* c = top;
    while (c) {
        if (c == e)
            return true;
        if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != top && !c->m_nextSibling)
            c = c->m_parent;
        c = c == top ? nullptr : c->m_nextSibling;
    }
    return false;
}

} // namespace

bool CXDoc::QueueRemovedElement(CElement* e)
{
    // Queued twice it would be destroyed twice.
    if (!e || m_removedList.Find(e))
        return false;
    return m_removedList.AddTail(e) != nullptr;
}

void CXDoc::ReleaseRemovedElements()
{
    while (m_removedList.GetCount() > 0) {
        CElement* e = static_cast<CElement*>(m_removedList.GetHead());
        m_removedList.RemoveHead();
        // The caret and the pointer and selection state must not name an
        // element destroyed here. The subtree is searched downward: the
        // former parent e still names may be gone.
        for (CElement** held : {&m_caretElement, &m_selectionAnchor, &m_pointerElement, &m_handleElement,
                 &m_resizeElement, &m_markedTable}) {
            if (*held && SubtreeHolds(e, *held))
                *held = nullptr;
        }
        delete e;
    }
}

void CXDoc::ReleaseTree()
{
    ReleaseRemovedElements();
    delete m_root;
    m_root = nullptr;
    m_caretElement = nullptr;
}

void CXDoc::ReleaseImagePool()
{
    while (m_imagePool) {
        IMAGE_POOL_ITEM* next = m_imagePool->next;
        delete m_imagePool->image;
        delete m_imagePool;
        m_imagePool = next;
    }
    m_imagePoolIndex = IMAGE_POOL_INDEX();
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
