#pragma once
// A style drop-list item's attributes on elements: giving them to an
// element and asking whether an element carries them. The values stand in
// the item as expressions; an element carries what they work out to.

class CElement;
struct STYLE_BAR_ITEM;

// Sets each attribute of item on e, its value worked out (CalculateValue);
// the element's style sheets are applied after each. Nothing for a null item.
void GiveItemAttributes(CElement* e, const STYLE_BAR_ITEM* item);

// Every attribute of item has the same value on e (an item without
// attributes, or none, matches every element).
bool ItemAttributesMatch(const CElement* e, const STYLE_BAR_ITEM* item);
