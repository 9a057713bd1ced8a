// Markup and path strings of the tree: an element wrapped in its ancestors'
// tags, the path of an element, the tag list around the caret, and two
// diagnostic listings.

#include "element/Element.h"
#include "element/TagList.h"

#include "base/codec/Escaping.h"
#include "base/text/U16.h"

namespace {

CSafeBuf Escaped(const CSafeBuf& text)
{
    CSafeBuf copy(text);
    EscapeXMLChar(copy, false);
    return copy;
}

// " name=\"value\"" for every attribute, values escaped; id left out with dropId.
void AppendAttributes(const CElement* e, CSafeBuf& out, bool dropId)
{
    CSafeBuf name, value;
    for (void* pos = e->m_attributes.GetStartPosition(); pos;) {
        e->m_attributes.GetNextAssoc(pos, name, value);
        if (dropId && name == "id")
            continue;
        out += " ";
        out += name;
        out += "=\"";
        out += Escaped(value);
        out += "\"";
    }
}

void AppendAttrXML(CSafeBuf& out, const CSafeBuf& name, const CSafeBuf& value)
{
    out += "<attr><name>";
    out += Escaped(name);
    out += "</name><value>";
    out += Escaped(value);
    out += "</value></attr>";
}

} // namespace

void GetEleTagListPiece(const CElement* e, int mode, CSafeBuf& piece)
{
    CSafeBuf tag(e->GetTagName());
    switch (mode) {
    case kTagListNames: piece = tag; break;
    case kTagListPath:
        piece = "/";
        piece += tag;
        break;
    case kTagListIndexedPath:
        piece = "/";
        piece += tag;
        piece.AppendInt("[%d]", e->GetIndex() + 1);
        break;
    default: {
        piece = "<elt><name>";
        piece += Escaped(tag);
        piece += "</name>";
        piece.AppendInt("<index>%d</index>", e->GetIndex() + 1);
        CSafeBuf name, value;
        for (void* pos = e->m_attributes.GetStartPosition(); pos;) {
            e->m_attributes.GetNextAssoc(pos, name, value);
            if (mode == kTagListXMLClass && name.CompareNoCase("class") != 0)
                continue;
            AppendAttrXML(piece, name, value);
        }
        piece += "</elt>";
    }
    }
}

void CElement::GetTagCodeWithParent(CSafeBuf& text, long stop, bool dropId) const
{
    for (const CElement* e = this; e && e->m_id != stop; e = e->m_parent) {
        CSafeBuf wrapped;
        if (e->IsTextElement()) {
            wrapped = Escaped(e->m_text);
            wrapped += text;
        } else {
            wrapped = "<";
            wrapped += e->GetTagName();
            AppendAttributes(e, wrapped, e == this ? dropId : true);
            wrapped += ">";
            wrapped += text;
            wrapped += "</";
            wrapped += e->GetTagName();
            wrapped += ">";
        }
        text.ReplaceWith(&wrapped);
    }
}

bool CElement::TreeString(CSafeBuf& text)
{
    text.Empty();
    for (const CElement* e = this; e; e = e->m_parent) {
        CSafeBuf piece("<");
        if (e->IsTextElement()) {
            piece.AppendInt("%08X", e->m_id);
            piece += " ";
            piece += e->m_text;
        } else {
            piece += e->GetTagName();
        }
        piece += ">";
        text.Insert(0, static_cast<const unsigned short*>(piece));
    }
    return true;
}

void GetEleTagList(const CElement* e, CSafeBuf& text, int mode)
{
    text.Empty();
    if (!e || mode < kTagListNames || mode > kTagListIndexedPath)
        return;
    CSafeBuf piece;
    for (const CElement* a = e; a; a = a->m_parent) {
        if (a->IsTextElement())
            continue;
        GetEleTagListPiece(a, mode, piece);
        if (mode == kTagListNames && !text.IsEmpty())
            piece += ",";
        text.Insert(0, static_cast<const unsigned short*>(piece));
    }
}

void GetElementList(CSafeBuf& text, const unsigned short* indent, const CElement* e)
{
    if (!e)
        return;
    CSafeBuf prefix(indent);
    text += prefix;
    text += "[";
    text += e->IsTextElement() ? e->m_text : CSafeBuf(e->GetTagName());
    text += "]:\r\n";
    prefix += "\t";
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        GetElementList(text, prefix, c);
}

void GetEleAttrsXML(const CElement* e, CSafeBuf& text)
{
    text.Empty();
    if (!e)
        return;
    text = "<attributes>";
    CSafeBuf name, value;
    for (void* pos = e->m_attributes.GetStartPosition(); pos;) {
        e->m_attributes.GetNextAssoc(pos, name, value);
        AppendAttrXML(text, name, value);
    }
    text += "</attributes>";
}
