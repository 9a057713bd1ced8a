// The editing engine's life: construction and destruction, the platform
// registrations that feed it events (Init, UnInit), attaching the document
// to the window (AssignWnd), and releasing service descriptions.
//
// Init installs four things: the 0.1-second timer over the host's virtual
// clock, a drag tracking and a drag receive handler for the window of the
// plug-in's port, and a text-input handler on the application's event
// target. They exist exactly between Init and UnInit; the destructor runs
// UnInit too, so a timer never fires into an engine that is gone.

#include "editor/XHTML.h"

#include "base/shims/PortShims.h"
#include "editor/ServiceDescription.h"
#include "platform/np/Window.h"
#include "platform/qd/Port.h"
#include "platform/ui/Window.h"
#include "source_view/DragToken.h"
#include "ui/Window.h"

#include <cstdlib>

namespace {

// The lists the property dialogs offer, copied into the engine's own strings.
const char* const kNoneYesNo[] = {"", "no", "yes"};
const char* const kYesNo[] = {"no", "yes"};
const char* const kAreaShapes[] = {"None", "rect", "circle", "poly", "default"};
const char* const kHeaderScopes[] = {"None", "Row", "Col", "Rowgroup", "Colgroup"};
const char* const kLinkTypes[]
    = {"None", "alternate", "stylesheet", "start", "next", "prev", "parent", "contents", "index", "glossary",
        "copyright", "chapter", "section", "subsection", "appendix", "help", "bookmark", "meta", "p3pv1"};

// The marker style's colour.
constexpr std::int32_t kMarkerGrey = RGB(120, 120, 120);

// Text-input events: the platform's kind for an update of the active input
// area (kind 2, Unicode for a key event, is kEventTextInputUnicode).
constexpr std::uint32_t kEventTextInputUpdateActiveInputArea = 1;

// Fills list (room entries and a null) with fresh copies of the table's
// strings, each in a buffer of units units.
template <std::size_t N>
void CopyOptionList(unsigned short** list, int room, const char* const (&table)[N], int units)
{
    for (int i = 0; i < room && i < static_cast<int>(N); ++i) {
        unsigned short* s = new unsigned short[units]();
        for (int j = 0; j < units - 1 && table[i][j]; ++j)
            s[j] = static_cast<unsigned char>(table[i][j]);
        list[i] = s;
    }
}

void FreeOptionList(unsigned short** list, int room)
{
    for (int i = 0; i < room; ++i) {
        delete[] list[i];
        list[i] = nullptr;
    }
}

void FreeItems(SERVICE_ITEM* item)
{
    while (item) {
        SERVICE_ITEM* next = item->next;
        delete item;
        item = next;
    }
}

// The window the plug-in's port belongs to, the key of its drag handlers;
// null without a window record or a live port.
qm::dnd::WindowKey PortWindow(const NPWindow* window)
{
    const NP_Port* port = window ? static_cast<const NP_Port*>(window->window) : nullptr;
    if (!port || !qm::qd::IsLivePort(port->port))
        return nullptr;
    return qm::ui::Window::FromPort(port->port);
}

} // namespace

CXHTML::CXHTML() : CXHTMLServices(CXHTMLDocument::m_doc)
{
    m_doc.m_owner = this;
    // The document's drags carry this engine's own token (never shared
    // with another engine), so a drop can tell a move from a copy.
    m_doc.m_dragToken = m_dragToken;
    CopyOptionList(m_noneYesNoList, kNoneYesNoRoom, kNoneYesNo, kOptionUnits);
    CopyOptionList(m_yesNoList, kYesNoRoom, kYesNo, kOptionUnits);
    CopyOptionList(m_areaShapeList, kAreaShapeRoom, kAreaShapes, kOptionUnits);
    CopyOptionList(m_headerScopeList, kHeaderScopeRoom, kHeaderScopes, kOptionUnits);
    CopyOptionList(m_linkTypeList, kLinkTypeRoom, kLinkTypes, kOptionUnits);
    m_markerStyle.markerColor.set = true;
    m_markerStyle.markerColor.value = kMarkerGrey;
    m_markerStyle.markerBorderColor.set = true;
    m_markerStyle.markerBorderColor.value = kMarkerGrey;
}

CXHTML::~CXHTML()
{
    UnInit();
    delete m_findDialog;
    m_findDialog = nullptr;
    FreeOptionList(m_noneYesNoList, kNoneYesNoRoom);
    FreeOptionList(m_yesNoList, kYesNoRoom);
    FreeOptionList(m_areaShapeList, kAreaShapeRoom);
    FreeOptionList(m_headerScopeList, kHeaderScopeRoom);
    FreeOptionList(m_linkTypeList, kLinkTypeRoom);
    if (m_classNames) {
        for (int i = 0; m_classNames[i]; ++i)
            delete[] m_classNames[i];
        delete[] m_classNames;
        m_classNames = nullptr;
    }
    for (unsigned short*& buffer : m_dialogBuffers) {
        delete[] buffer;
        buffer = nullptr;
    }
    ReleaseService(&m_imageLibraryServices);
    ReleaseService(&m_attachmentLibraryServices);
    ReleaseService(&m_linkLibraryServices);
    ReleaseService(&m_directoryServices);
    while (m_ownedRecords.GetCount() > 0) {
        std::free(m_ownedRecords.GetHead());
        m_ownedRecords.RemoveHead();
    }
    delete m_tableSizePicker;
    m_tableSizePicker = nullptr;
    m_doc.ReleaseTree();
}

int CXHTML::ReleaseService(CPtrList* list)
{
    if (!list)
        return 0;
    while (list->GetCount() > 0) {
        auto* description = static_cast<SERVICE_DESCRIPTION*>(list->GetHead());
        list->RemoveHead();
        if (!description)
            continue;
        FreeItems(description->items);
        FreeItems(description->extraItems);
        delete description;
    }
    return 0;
}

void CXHTML::Init()
{
    UnInit();
    dInitCursor();
    qm::events::InstallTimer(0, 0.1, &CXHTML::MacTimer, this, &m_timer);

    if (qm::dnd::WindowKey window = PortWindow(m_window)) {
        m_dragTrackingHandler = qm::dnd::DragSession::InstallTrackingHandler(
            window, [this](short message, qm::dnd::WindowKey key, qm::dnd::DragSession& drag) {
                return MyDragTrackingHandler(message, key, this, drag);
            });
        m_dragReceiveHandler = qm::dnd::DragSession::InstallReceiveHandler(
            window, [this](qm::dnd::WindowKey key, qm::dnd::DragSession& drag) {
                return MyDragReceiveHandler(key, this, drag);
            });
    }
    m_textInputHandler = qm::events::EventTarget::Application().InstallHandler(
        {{qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode},
            {qm::events::kEventClassTextInput, kEventTextInputUpdateActiveInputArea}},
        [this](const qm::events::NextHandler& next, qm::events::Event& event) {
            return TextInputHandler(next, event, this);
        });

    SetGenericFontFamilies();
    m_doc.SysInit();
}

void CXHTML::UnInit()
{
    if (m_timer) {
        qm::events::RemoveTimer(m_timer);
        m_timer = 0;
    }
    if (m_dragTrackingHandler) {
        qm::dnd::DragSession::RemoveTrackingHandler(m_dragTrackingHandler);
        m_dragTrackingHandler = 0;
    }
    if (m_dragReceiveHandler) {
        qm::dnd::DragSession::RemoveReceiveHandler(m_dragReceiveHandler);
        m_dragReceiveHandler = 0;
    }
    if (m_textInputHandler) {
        qm::events::EventTarget::Application().RemoveHandler(m_textInputHandler);
        m_textInputHandler = 0;
    }
}

void CXHTML::AssignWnd()
{
    m_doc.m_owner = this;
    m_doc.m_windowRect = m_doc.m_viewRect;
    m_doc.m_windowRect.right = m_doc.m_viewRect.left + m_doc.m_viewWidth;
    DocGiveRootWindowRect();
    DocDrawDoc();
}
