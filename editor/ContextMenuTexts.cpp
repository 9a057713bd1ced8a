#include "editor/ContextMenuTexts.h"

#include "editor/ContextMenuOps.h"

#include <iterator>

namespace {

using namespace qm::menu;

constexpr ContextMenuText E(const char* key, std::uint32_t command, const char* english)
{
    return {key, 0, command, english};
}
constexpr ContextMenuText T(const char* key, std::uint32_t menuId, const char* english)
{
    return {key, menuId, 0, english};
}

const ContextMenuText kFixed[] = {
    E("context-menu/cut", 32811, "Cut"),
    E("context-menu/copy", 32812, "Copy"),
    E("context-menu/paste", 32813, "Paste"),
    E("context-menu/delete", 32818, "Delete"),
    E("context-menu/undo", 32814, "Undo"),
    E("context-menu/redo", 32888, "Redo"),
    E("context-menu/select-all", 32859, "Select All"),
    E("context-menu/find-replace", 32891, "Find / Replace"),
    E("context-menu/change-to-em", 32842, "Change i to em"),
    E("context-menu/change-to-strong", 32843, "Change b to strong"),
    E("context-menu/properties", 32768, "Properties"),
    E("context-menu/tag-list", 32887, "Tag List"),
    E("context-menu/reset-dimensions", 32868, "Reset Dimensions"),
    E("context-menu/image-float-left", 32870, "Align Left"),
    E("context-menu/image-float-right", 32869, "Align Right"),
    E("context-menu/image-save-as", 32953, "Save Image As"),
    E("context-menu/hyperlink-edit", 32795, "Hyperlink Properties"),
    E("context-menu/hyperlink-remove", 32796, "Remove"),
    E("context-menu/attachment-save-as", 32956, "Save Attachment As"),
    E("context-menu/list-insert-item-above", 32914, "Insert Item Above"),
    E("context-menu/list-insert-item-below", 32915, "Insert Item Below"),
    E("context-menu/list-move-item-up", 32916, "Move Item Up"),
    E("context-menu/list-move-item-down", 32917, "Move Item Down"),
    E("context-menu/create-sublist", 32804, "Create Sublist"),
    E("context-menu/remove-sublist", 32803, "Remove Sublist"),
    E("context-menu/list-select-list", 32918, "Select List"),
    E("context-menu/list-select-item", 32919, "Select Item"),
    E("context-menu/list-delete-list", 32920, "Delete List"),
    E("context-menu/list-delete-item", 32921, "Delete Item"),
    E("context-menu/list-properties", 32922, "List Properties"),
    E("context-menu/list-item-properties", 32923, "Item Properties"),
    E("context-menu/definition-list-insert-item-above", 32924, "Insert Item Above"),
    E("context-menu/definition-list-insert-item-below", 32925, "Insert Item Below"),
    E("context-menu/definition-list-insert-term-above", 32926, "Insert Term Above"),
    E("context-menu/definition-list-insert-term-below", 32927, "Insert Term Below"),
    E("context-menu/definition-list-insert-description-above", 32928, "Insert Description Above"),
    E("context-menu/definition-list-insert-description-below", 32929, "Insert Description Below"),
    E("context-menu/definition-list-move-item-up", 32930, "Move Item Up"),
    E("context-menu/definition-list-move-item-down", 32931, "Move Item Down"),
    E("context-menu/definition-list-move-term-up", 32932, "Move Term Up"),
    E("context-menu/definition-list-move-term-down", 32933, "Move Term Down"),
    E("context-menu/definition-list-move-description-up", 32934, "Move Description Up"),
    E("context-menu/definition-list-move-description-down", 32935, "Move Description Down"),
    E("context-menu/definition-list-select-list", 32936, "Select List"),
    E("context-menu/definition-list-select-item", 32937, "Select Item"),
    E("context-menu/definition-list-select-term", 32938, "Select Term"),
    E("context-menu/definition-list-select-description", 32939, "Select Description"),
    E("context-menu/definition-list-delete-list", 32940, "Delete List"),
    E("context-menu/definition-list-delete-item", 32941, "Delete Item"),
    E("context-menu/definition-list-delete-term", 32942, "Delete Term"),
    E("context-menu/definition-list-delete-description", 32943, "Delete Description"),
    E("context-menu/definition-list-sort", 32944, "Sort"),
    E("context-menu/definition-list-properties", 32945, "List Properties"),
    E("context-menu/definition-list-term-properties", 32946, "Term Properties"),
    E("context-menu/definition-list-description-properties", 32947, "Description Properties"),
    E("context-menu/table-col-headers", 32839, "Column Of Headers"),
    E("context-menu/table-row-headers", 32840, "Row Of Headers"),
    E("context-menu/table-select-table", 32825, "Select Table"),
    E("context-menu/table-select-row", 32826, "Select Row"),
    E("context-menu/table-select-column", 32827, "Select Column"),
    E("context-menu/table-insert-column-left", 32797, "Insert Column Left"),
    E("context-menu/table-insert-column-right", 32781, "Insert Column Right"),
    E("context-menu/table-insert-row-above", 32798, "Insert Row Above"),
    E("context-menu/table-insert-row-below", 32780, "Insert Row Below"),
    E("context-menu/table-delete-table", 32817, "Delete Table"),
    E("context-menu/table-delete-column", 32783, "Delete Column"),
    E("context-menu/table-delete-row", 32782, "Delete Row"),
    E("context-menu/table-column-properties", 32892, "Column Properties"),
    E("context-menu/table-reset-properties", 32893, "Reset Table Properties"),
    E("context-menu/table-properties", 32835, "Table Properties"),
    E("context-menu/table-row-properties", 32836, "Row Properties"),
    E("context-menu/table-cell-properties", 32837, "Cell Properties"),
    E("context-menu/table-merge-cells", 32799, "Merge Cells"),
    E("context-menu/table-split-cells", 32800, "Split Cell"),
    // The same six texts in each of the three align submenus.
    E("context-menu/table-align-horzontal-left", 32819, "Left"),
    E("context-menu/table-align-horzontal-center", 32820, "Center"),
    E("context-menu/table-align-horzontal-right", 32821, "Right"),
    E("context-menu/table-align-vertical-top", 32822, "Top"),
    E("context-menu/table-align-vertical-middle", 32823, "Middle"),
    E("context-menu/table-align-vertical-bottom", 32824, "Bottom"),
    E("context-menu/table-align-horzontal-left", 32902, "Left"),
    E("context-menu/table-align-horzontal-center", 32903, "Center"),
    E("context-menu/table-align-horzontal-right", 32904, "Right"),
    E("context-menu/table-align-vertical-top", 32905, "Top"),
    E("context-menu/table-align-vertical-middle", 32906, "Middle"),
    E("context-menu/table-align-vertical-bottom", 32907, "Bottom"),
    E("context-menu/table-align-horzontal-left", 32896, "Left"),
    E("context-menu/table-align-horzontal-center", 32897, "Center"),
    E("context-menu/table-align-horzontal-right", 32898, "Right"),
    E("context-menu/table-align-vertical-top", 32899, "Top"),
    E("context-menu/table-align-vertical-middle", 32900, "Middle"),
    E("context-menu/table-align-vertical-bottom", 32901, "Bottom"),
    E("context-menu/subdocument-select", 32885, "Select Subdocument"),
    E("context-menu/subdocument-delete", 32948, "Delete Subdocument"),
    E("context-menu/clear-private-data", 32908, "Clear Private Data"),
    E("context-menu/help", 32949, "Help"),
    // This image's display (top level) and every image's (Customize).
    E("context-menu/customize-images-display-as-graphics", 32875, "Display As Graphics"),
    E("context-menu/customize-images-display-as-text", 32876, "Display As Text"),
    E("context-menu/customize-images-display-as-outline", 32877, "Display As Outline"),
    E("context-menu/customize-images-display-as-graphics", 32872, "Display As Graphics"),
    E("context-menu/customize-images-display-as-text", 32873, "Display As Text"),
    E("context-menu/customize-images-display-as-outline", 32874, "Display As Outline"),
    T("context-menu/image", kSubMenuImage, "Image"),
    T("context-menu/hyperlink", kSubMenuHyperlink, "Hyperlink"),
    T("context-menu/definition-list", kSubMenuDefinitionList, "Definition List"),
    T("context-menu/table", kSubMenuTable, "Table"),
    T("context-menu/table-cell-align", kSubMenuAlignCell, "Align Cell"),
    T("context-menu/table-column-align", kSubMenuAlignColumn, "Align Column"),
    T("context-menu/table-row-align", kSubMenuAlignRow, "Align Row"),
    T("context-menu/table-align-horizontal", kSubMenuAlignCellHorizontal, "Align Horizontal"),
    T("context-menu/table-align-vertical", kSubMenuAlignCellVertical, "Align Vertical"),
    T("context-menu/table-align-horizontal", kSubMenuAlignColumnHorizontal, "Align Horizontal"),
    T("context-menu/table-align-vertical", kSubMenuAlignColumnVertical, "Align Vertical"),
    T("context-menu/table-align-horizontal", kSubMenuAlignRowHorizontal, "Align Horizontal"),
    T("context-menu/table-align-vertical", kSubMenuAlignRowVertical, "Align Vertical"),
    T("context-menu/subdocument", kSubMenuSubdocument, "Subdocument"),
    T("context-menu/editor", kSubMenuEditor, "Editor"),
    T("context-menu/customize", kSubMenuCustomize, "Customize"),
    T("context-menu/customize-images", kSubMenuCustomizeImages, "Customize Images"),
};

const ContextMenuText kTasks[] = {
    T("context-menu/toolbar", kSubMenuToolbar, "Toolbar"),
    T("context-menu/buttons", kSubMenuButtons, "Buttons"),
    T("context-menu/styles", kSubMenuStyles, "Styles"),
};

const ContextMenuText kNumberedTitle = T("context-menu/numbered-list", kSubMenuList, "Numbered List");
const ContextMenuText kBulletedTitle = T("context-menu/bulleted-list", kSubMenuList, "Bulleted List");
const ContextMenuText kToBulleted
    = E("context-menu/change-to-bulleted-list", 32955, "Change To Bulleted List");
const ContextMenuText kToNumbered
    = E("context-menu/change-to-numbered-list", 32955, "Change To Numbered List");

} // namespace

const ContextMenuText* ContextMenuFixedTexts(std::size_t& count)
{
    count = std::size(kFixed);
    return kFixed;
}

const ContextMenuText* ContextMenuTaskTexts(std::size_t& count)
{
    count = std::size(kTasks);
    return kTasks;
}

const ContextMenuText& ContextMenuListTitle(bool numbered)
{
    return numbered ? kNumberedTitle : kBulletedTitle;
}

const ContextMenuText& ContextMenuListTypeEntry(bool numbered)
{
    return numbered ? kToBulleted : kToNumbered;
}
