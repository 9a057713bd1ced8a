// The icon kinds' shared pieces: picture, box, painting, and reading and
// writing their content as markup text.

#include "elements/IconElement.h"

#include "base/files/BundleResources.h"
#include "base/text/TextUtilsMarkup.h"
#include "base/xml/XmlNodeValue.h"
#include "element/Element.h"
#include "element/markup/MarkupWriter.h"
#include "element/markup/SourceCode.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "style/draw/DrawPrimitives.h"

namespace {

void TakeSize(IconPicture& icon)
{
    icon.width = icon.image.GetWidth();
    icon.height = icon.image.GetHeight();
}

void TrimBlanks(CSafeBuf& text)
{
    auto blank = [](unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    int start = 0;
    const int n = text.Length();
    while (start < n && blank(text.GetAt(start)))
        ++start;
    int end = n;
    while (end > start && blank(text.GetAt(end - 1)))
        --end;
    text = text.Mid(start, end - start);
}

void AppendTabs(CSafeBuf& out, int count)
{
    for (int i = 0; i < count; ++i)
        out += static_cast<unsigned short>('\t');
}

} // namespace

void LoadIconResource(IconPicture& icon, const char* name)
{
    if (icon.loaded)
        return;
    icon.loaded = true;
    CSafeBuf path;
    GetResourcePath(path, name);
    if (icon.image.LoadPictureFile(path))
        TakeSize(icon);
}

void LoadControlIcon(IconPicture& icon, CElement* e, const char* name, const char* fallback)
{
    if (icon.loaded)
        return;
    CControlServices* control = e && e->m_owner ? e->m_owner->m_control : nullptr;
    int size = 0;
    if (control && control->GetIconFromIcons(name, &size, &icon.image, nullptr)
        && icon.image.GetWidth() > 0) {
        icon.loaded = true;
        TakeSize(icon);
        return;
    }
    LoadIconResource(icon, fallback);
}

void PlaceIconBox(CElement* e, void* dc, int width, int height)
{
    e->CalcForAll(dc, false, false);
    e->Lay().m_sizeRect = CRect(0, 0, width, height);
    e->Lay().m_baseline.y = height + e->Lay().m_marginLeftTop.y + e->Lay().m_marginRightBottom.y - 2;
}

void RaiseToIcon(CSize& size, const IconPicture& icon)
{
    if (size.cx < icon.width)
        size.cx = icon.width;
    if (size.cy < icon.height)
        size.cy = icon.height;
}

void PaintIcon(CElement* e, IconPicture& icon, void* dc, CPoint origin)
{
    auto* context = static_cast<qm::cg::Context*>(dc);
    if (!context)
        return;
    if (icon.width > 0)
        icon.image.CopyImage(nullptr, nullptr, context, GetFlipHeight(e), origin);
    if (e->m_selected) {
        CRect box = e->Lay().m_sizeRect;
        box.OffsetRect(origin.x, origin.y);
        xInvertRect(dc, box, e);
    }
}

bool ReadIconElementText(CElement* e, _xmlNode* node)
{
    if (!e->CElement::SetElement(node, true, false, false))
        return false;
    CSafeBuf text;
    XMLGetNodeXML(node, text);
    if (text.Find("//") >= 0)
        text.Insert(0, "//");
    text.Trim();
    RemoveTag(text, 0);
    TrimBlanks(text);
    e->m_text = text;
    return true;
}

void AddWholeElementMarkers(const CElement* e, CSafeBuf& out, int flags, SourceCodeVar* var)
{
    if (!(flags & kSourceMarkers) || !var)
        return;
    if (!var->selection) {
        if (e->m_owner && e->m_owner->m_doc.m_caretElement == e)
            out.Insert(0, kCaretMarker);
    } else if (e->m_selected) {
        if (var->state == 0) {
            out.Insert(0, kSelectionBeginMarker);
            var->state = 1;
        }
        if (var->state != 2)
            out += kSelectionEndMarker;
    }
}

void WriteIconElement(const CElement* e, CSafeBuf& out, int level, int flags, SourceCodeVar* var)
{
    const bool indent = (flags & kSourceIndent) != 0;
    out.Empty();
    if (indent)
        AppendTabs(out, level);
    out += "<";
    out += e->GetTagName();
    CSafeBuf name, value;
    for (void* pos = e->m_attributes.GetStartPosition(); pos;) {
        e->m_attributes.GetNextAssoc(pos, name, value);
        AppendXMLAttribute(out, name, value);
    }
    out += ">";
    if (indent) {
        out += "\r\n";
        AppendTabs(out, level + 1);
    }
    CSafeBuf text(e->m_text);
    text.TrimLeft();
    if (text.Find("//") == 0)
        text.Delete(0, 2);
    out += text;
    if (indent) {
        out += "\r\n";
        AppendTabs(out, level);
    }
    out += "</";
    out += e->GetTagName();
    out += ">";
    AddWholeElementMarkers(e, out, flags, var);
    if (indent)
        out += "\r\n";
}
