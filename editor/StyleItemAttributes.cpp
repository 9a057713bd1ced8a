#include "editor/StyleItemAttributes.h"

#include "base/text/SafeBuf.h"
#include "base/text/ValueUtils.h"
#include "base/text/XmlChars.h"
#include "editor/StyleBarItem.h"
#include "element/Element.h"

void GiveItemAttributes(CElement* e, const STYLE_BAR_ITEM* item)
{
    if (!e || !item)
        return;
    for (const ATTRIBUTE_ITEM* a = item->attributes; a; a = a->next) {
        if (!a->name[0])
            continue;
        CSafeBuf value;
        CalculateValue(a->value, value);
        e->SetAttrString(a->name, static_cast<const unsigned short*>(value));
    }
}

bool ItemAttributesMatch(const CElement* e, const STYLE_BAR_ITEM* item)
{
    if (!e || !item)
        return true;
    for (const ATTRIBUTE_ITEM* a = item->attributes; a; a = a->next) {
        // An attribute that no element can carry is not looked for.
        if (!IsXmlName(a->name))
            continue;
        CSafeBuf wanted, present;
        CalculateValue(a->value, wanted);
        e->GetAttrString(a->name, present);
        if (wanted != present)
            return false;
    }
    return true;
}
