// The toolbar's definitions: the button-definition document, the bars of
// the current view built from its toolbar string, and the icon set.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/codec/Hex.h"
#include "base/files/BundleResources.h"
#include "base/files/FileUtilsLoad.h"
#include "base/shims/FileShims.h"
#include "base/text/U16.h"
#include "base/xml/XmlLang.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNodeValue.h"
#include "net/LoadHTTPFile.h"
#include "plugin/ImageList.h"
#include "plugin/ToolbarDefinitions.h"

#include <new>
#include <vector>

namespace {

const char* const kDefaultToolbars[4] = {
    ("ordered-list,unordered-list,definition-list,,draw-layout-table,draw-data-table,image,separator,"
     "hyperlink,attachment,directory,spellchecker,,wysiwyg,source,preview,screen-reader,help"),
    "indent,whitespace,word-wrap,dim-tags,validate,,wysiwyg,source,preview,screen-reader",
    "wysiwyg,source,preview,screen-reader",
    "wysiwyg,source,preview,screen-reader",
};

// The text of the child element name of node, trimmed; empty when none.
CSafeBuf ChildText(xmlNode* node, const char* name)
{
    CSafeBuf value;
    GetNodeValue(name, value, node);
    value.Trim();
    return value;
}

bool HasChild(xmlNode* node, const char* name)
{
    CSafeBuf value;
    return GetNodeValue(name, value, node);
}

unsigned short* CopyText(const CSafeBuf& text) { return U16dup(static_cast<const unsigned short*>(text)); }

// Adds a bundle picture to a bar's image list.
void AddResourcePicture(CImageList* images, const char* name)
{
    CSafeBuf path;
    GetResourcePath(path, name);
    images->AddImageByFile(path);
}

xmlDoc* LoadResourceDocument(const char* resource)
{
    CSafeBuf path;
    GetResourcePath(path, resource);
    return LoadXMLFile(path);
}

} // namespace

int CMorvaXEditorCtrl::ButtonType(CSafeBuf& name, bool& toggle, bool)
{
    return BuiltInButtonType(name, toggle);
}

bool CMorvaXEditorCtrl::FetchDocument(
    const unsigned short* location, CSafeBuf& localFile, const CSafeBuf& targetFile)
{
    CSafeBuf target(targetFile), server, user, password, unused1, unused2, unused3;
    unsigned int port = 80;
    if (UseProxy())
        HttpProxy(server, port, user, password);
    return LoadHTTPFile(AsHttpOwner(this), location, localFile, unused1, -1, target, &m_headers, unused2,
        nullptr, server, port, user, password, unused3, nullptr, "application/soap+xml", nullptr, nullptr);
}

xmlDoc* CMorvaXEditorCtrl::LoadDefinitionDocument(
    const CSafeBuf& setting, const char* rootTag, const char* resource, bool fallBack)
{
    CSafeBuf text(setting);
    text.Trim();
    if (text.Find(rootTag, 0, false) >= 0)
        return LoadXMLString(text);
    if (text.IsEmpty())
        return LoadResourceDocument(resource);

    CSafeBuf location(text), cacheFile, localFile;
    xmlDoc* doc = nullptr;
    if (GetCacheFile(location, cacheFile)) {
        doc = LoadXMLFile(location);
        if (!doc)
            DeleteFile(static_cast<const unsigned short*>(location));
    }
    if (!doc && FetchDocument(text, localFile, cacheFile)) {
        doc = LoadXMLFile(localFile);
        if (!doc && !cacheFile.IsEmpty())
            DeleteFile(static_cast<const unsigned short*>(cacheFile));
    } else if (!doc && !cacheFile.IsEmpty()) {
        DeleteFile(static_cast<const unsigned short*>(cacheFile));
    }
    if (!doc && fallBack)
        return LoadResourceDocument(resource);
    return doc;
}

void CMorvaXEditorCtrl::GetButtonDetail(
    xmlNode* node, const unsigned short* elementName, ButtonInfo* info, bool& toggle)
{
    if (!node || !info)
        return;
    CSafeBuf kind(elementName);
    kind.Trim();
    kind.MakeLower();
    if (kind == "style") {
        info->kind = kButtonKindStyle;
        CSafeBuf element = ChildText(node, "elt");
        if (element.IsEmpty() || info->styleTarget)
            return;
        info->styleTarget = new (std::nothrow) STYLE_TARGET();
        if (!info->styleTarget)
            return;
        SetHeaderField(info->styleTarget->element, element);
        ATTRIBUTE_ITEM* last = nullptr;
        for (xmlNode* child = node->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE)
                continue;
            CSafeBuf name = ChildText(child, "name");
            if (name.IsEmpty())
                continue;
            ATTRIBUTE_ITEM* item = NewAttributeItem(name, ChildText(child, "value"));
            if (!item)
                break;
            if (last)
                last->next = item;
            else
                info->styleTarget->attributes = item;
            last = item;
        }
    } else if (kind == "button") {
        info->kind = kButtonKindPage;
        CSafeBuf value = ChildText(node, "toggle");
        value.MakeLower();
        if (value == "yes")
            toggle = true;
    } else if (kind == "snippet" || kind == "window") {
        const bool snippet = kind == "snippet";
        info->kind = snippet ? kButtonKindSnippet : kButtonKindWindow;
        CSafeBuf value = ChildText(node, snippet ? "value" : "url");
        if (!value.IsEmpty()) {
            delete[] info->text;
            info->text = CopyText(value);
        }
    }
}

void CMorvaXEditorCtrl::ReleaseButtonInfo()
{
    FreeButtonInfos(m_buttonInfo);
    m_buttonInfo = nullptr;
}

xmlDoc* CMorvaXEditorCtrl::LoadButtonDefinitions()
{
    xmlDoc* doc = LoadDefinitionDocument(Buttons, "<buttons>", "buttons.htm", true);
    CSafeBuf lang(Lang);
    if (lang.IsEmpty())
        lang = "en";
    if (doc)
        LangFilter(doc, lang);
    return doc;
}

int CMorvaXEditorCtrl::LoadAllButtonInfo()
{
    ReleaseButtonInfo();
    xmlDoc* doc = LoadButtonDefinitions();
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    ButtonInfo* last = nullptr;
    for (xmlNode* child = root ? root->children : nullptr; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        ButtonInfo* info = NewButtonInfo();
        if (!info)
            break;
        CSafeBuf id, name, unused;
        GetNodeValue("id", id, child);
        bool toggle = false;
        info->kind = ButtonType(id, toggle); // an alias becomes its main name
        SetHeaderField(info->textId, id);
        GetNameValue(child, name, unused);
        GetButtonDetail(child, name, info, toggle);
        info->toggle = toggle ? 1 : 0;
        if (last)
            last->next = info;
        else
            m_buttonInfo = info;
        last = info;
    }
    XMLReleaseDom(doc);
    return 1;
}

ToolBarStruct* CMorvaXEditorCtrl::CreateToolbar() { return CCustToolbar::CreateToolbar(m_iconSize); }

int CMorvaXEditorCtrl::ReleaseToolBar()
{
    // The toolbar set must not keep the bars freed here.
    m_toolbarSet.DeleteAllBars();
    m_toolBars.ForEachItem([](void* bar) { FreeToolBar(static_cast<ToolBarStruct*>(bar)); });
    m_toolBars.RemoveAll();
    return m_toolBars.GetCount();
}

void CMorvaXEditorCtrl::LoadToolBarFromString()
{
    ReleaseToolBar();
    xmlDoc* doc = LoadButtonDefinitions();
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;

    CSafeBuf undefined;
    m_langString.GetItem(undefined, "text/undefined-button", "Cannot find definition");
    m_nextButtonCommand = static_cast<int>(kFirstButtonCommand);

    const CSafeBuf* strings[4] = {&ToolbarWysiwyg, &ToolbarSource, &ToolbarPreview, &ToolbarScreenReader};
    const int view = m_viewMode >= 0 && m_viewMode < 4 ? m_viewMode : 0;
    CSafeBuf text(*strings[view]);
    text.Trim();
    if (text.IsEmpty())
        text = kDefaultToolbars[view];
    std::vector<ToolbarItem> items;
    SplitToolbarString(text, items);

    ToolBarStruct* bar = nullptr;
    for (ToolbarItem& item : items) {
        bool toggle = false;
        const int kind = ButtonType(item.name, toggle);
        if (kind == kButtonKindBarBreak) {
            bar = nullptr;
            continue;
        }
        if (!bar) {
            bar = CreateToolbar();
            if (!bar)
                break;
            m_toolBars.AddTail(bar);
            bar->newRow = item.newRow ? 1 : 0;
        }
        ButtonInfo* info = NewButtonInfo();
        if (!info)
            break;
        info->EditorCommandID = static_cast<unsigned int>(m_nextButtonCommand++);
        SetHeaderField(info->textId, item.name);
        info->kind = kind;
        info->imageIndex = bar->nextImage;
        if (bar->lastButton)
            bar->lastButton->next = info;
        else
            bar->buttons = info;
        bar->lastButton = info;
        if (kind == kButtonKindGap)
            continue;

        xmlNode* definition = root ? FindButtonDefinition(root, item.name) : nullptr;
        if (!definition) {
            SetHeaderField(info->tooltip, undefined);
            AddResourcePicture(bar->images, "nodef.gif");
            ++bar->nextImage;
            continue;
        }
        CSafeBuf elementName, unused;
        GetNameValue(definition, elementName, unused);
        GetButtonDetail(definition, elementName, info, toggle);
        info->toggle = toggle ? 1 : 0;
        CSafeBuf tip = HasChild(definition, "tooltip") ? ChildText(definition, "tooltip")
                                                       : ChildText(definition, "name");
        SetHeaderField(info->tooltip, tip);
        SetHeaderField(info->label, ChildText(definition, "label"));

        CSafeBuf icon = ChildText(definition, "icon");
        unsigned char* bytes = nullptr;
        int size = 0;
        if (icon.Length() > 49) {
            char* decoded = nullptr;
            if (CHex::Decode(static_cast<const unsigned short*>(icon), icon.Length(), decoded, size))
                bytes = reinterpret_cast<unsigned char*>(decoded);
        } else if (!icon.IsEmpty()) {
            bytes = GetIconFromArray(icon, size, true);
        }
        if (bytes && size > 0)
            bar->images->AddImageByBuf(bytes, size);
        else
            AddResourcePicture(bar->images, "noimage.gif");
        delete[] bytes;
        ++bar->nextImage;
    }
    XMLReleaseDom(doc);

    // A gap followed by another gap or by the end of its bar goes.
    m_toolBars.ForEachItem([](void* item) {
        ToolBarStruct* b = static_cast<ToolBarStruct*>(item);
        ButtonInfo* prev = nullptr;
        for (ButtonInfo* info = b->buttons; info;) {
            ButtonInfo* next = info->next;
            if (info->kind == kButtonKindGap && (!next || next->kind == kButtonKindGap)) {
                (prev ? prev->next : b->buttons) = next;
                FreeButtonInfo(info);
            } else {
                prev = info;
            }
            info = next;
        }
        b->lastButton = prev;
    });
}

void CMorvaXEditorCtrl::LoadIcons()
{
    xmlDoc* doc = LoadDefinitionDocument(Icons, "<icons>", "icons.xml", false);
    RemoveIcons();
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    // Every "icon" element of the document, in document order.
    for (xmlNode* node = root; node;) {
        if (node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST "icon")) {
            CSafeBuf name = ChildText(node, "id");
            CSafeBuf picture = ChildText(node, "small");
            if (picture.IsEmpty())
                picture = ChildText(node, "graphic");
            char* bytes = nullptr;
            int size = 0;
            if (!name.IsEmpty() && !picture.IsEmpty()
                && CHex::Decode(static_cast<const unsigned short*>(picture), picture.Length(), bytes, size))
                AddIcon(name, reinterpret_cast<const unsigned char*>(bytes), size);
            delete[] bytes;
        }
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node != root && !node->next)
            node = node->parent;
        node = node == root ? nullptr : node->next;
    }
    XMLReleaseDom(doc);
}

void CMorvaXEditorCtrl::SetButtons(const unsigned short* text)
{
    Buttons.Empty();
    if (text)
        Buttons = text;
    ReplaceSystemDrive(Buttons);
    if (m_pXHTML && m_created) {
        PrepareToolBar();
        LoadAllButtonInfo();
    }
}

void CMorvaXEditorCtrl::SetIcons(const unsigned short* text)
{
    Icons.Empty();
    if (text)
        Icons = text;
    ReplaceSystemDrive(Icons);
    LoadIcons();
}
