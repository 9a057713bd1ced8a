// The place-holder definitions: those of the Placeholders document (the
// bundle's "placeholders.xml" when the setting is empty), then the three
// the editor always knows.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/xml/XmlLoad.h"
#include "plugin/PlaceHolderDocument.h"

void CMorvaXEditorCtrl::LoadPlaceHolders()
{
    // A document that cannot be fetched or read (its cached copy deleted)
    // leaves only the built-in definitions.
    xmlDoc* doc = LoadDefinitionDocument(Placeholders, "<placeholders>", "placeholders.xml", false);
    ReleasePlaceHolders();
    PLACEHOLDERSSTRUCT* last = nullptr;
    ReadPlaceHolderDocument(doc, m_placeHolders, last);
    XMLReleaseDom(doc);
    AddBuiltInPlaceHolders(last);
}

void CMorvaXEditorCtrl::AddBuiltInPlaceHolders(PLACEHOLDERSSTRUCT*& last)
{
    static const char* const kBuiltIn[][2] = {
        {"joomla:readmore", "readmore"},
        {"joomla:pagebreak", "pagebreak"},
        {"joomla:image", "image"},
    };
    for (const auto& definition : kBuiltIn)
        AddPlaceHolderItem(definition[0], definition[1], last);
}
