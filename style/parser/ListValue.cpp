// List properties of the CSS property parser: "list-style-type",
// "list-style-position", "list-style-image" and the "list-style" shorthand.

#include "element/services/XDocServices.h"

#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"

using namespace qm::css;

namespace {

constexpr int kListNone = 14;

const Keyword kTypes[] = {{"disc", 0}, {"circle", 1}, {"square", 2}, {"decimal", 3},
    {"decimal-leading-zero", 4}, {"lower-roman", 5}, {"upper-roman", 6}, {"lower-greek", 7},
    {"lower-latin", 8}, {"upper-latin", 9}, {"armenian", 10}, {"georgian", 11}, {"lower-alpha", 12},
    {"upper-alpha", 13}, {"none", kListNone}, {nullptr, 0}};

void SetInt(NewIntStyleValue& cell, int value)
{
    cell.set = true;
    cell.value = value;
    cell.inherit = false;
    cell.inherited = 0;
}

void SetImage(ELEMENT_STYLE& style, const CSafeBuf& url)
{
    style.listImage.set = true;
    style.listImage.inherited = 0;
    style.listImage.text.Set(url);
}

// The address inside "url(...)": not empty, and short enough for the field
// (an address cut short would name another file).
bool ParseImageUrl(const CSafeBuf& value, CSafeBuf& url)
{
    return ParseUrl(value, url) && !url.IsEmpty() && url.Length() < kStyleStringUnits;
}

} // namespace

bool CXDocServices::ParseListType(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short*)
{
    int type = 0;
    if (!style || !FindKeyword(value, kTypes, false, type))
        return false;
    SetInt(style->listType, type);
    return true;
}

bool CXDocServices::ParseListType(ELEMENT_STYLE* style, CSafeBuf& value, const char* property)
{
    const CSafeBuf name(property);
    return ParseListType(style, value, static_cast<const unsigned short*>(name));
}

bool CXDocServices::ParseListImage(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short*)
{
    CSafeBuf url;
    if (!style || !ParseImageUrl(value, url))
        return false;
    SetImage(*style, url);
    return true;
}

bool CXDocServices::ParseListImage(ELEMENT_STYLE* style, CSafeBuf& value, const char* property)
{
    const CSafeBuf name(property);
    return ParseListImage(style, value, static_cast<const unsigned short*>(name));
}

bool CXDocServices::ParseListPosition(ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short*)
{
    if (!style)
        return false;
    if (value == "inside")
        SetInt(style->listPosition, 1);
    else if (value == "outside")
        SetInt(style->listPosition, 2);
    else if (value != "inherit")
        return false;
    return true;
}

bool CXDocServices::ParseListPosition(ELEMENT_STYLE* style, CSafeBuf& value, const char* property)
{
    const CSafeBuf name(property);
    return ParseListPosition(style, value, static_cast<const unsigned short*>(name));
}

namespace qm::css {

// Each word is a type, a position or an image. The first "none" is the type
// none; a "none" after a type stands for no image.
bool ParseListStyleShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    std::vector<CSafeBuf> words = SplitWords(value);
    if (words.empty())
        return false;
    ELEMENT_STYLE copy = style;
    bool typed = false;
    for (CSafeBuf& word : words) {
        if (word == "none" && typed) {
            SetImage(copy, CSafeBuf());
            continue;
        }
        if (doc.ParseListType(&copy, word, "list-style-type")) {
            typed = true;
            continue;
        }
        if (!doc.ParseListPosition(&copy, word, "list-style-position")
            && !doc.ParseListImage(&copy, word, "list-style-image"))
            return false;
    }
    style = copy;
    return true;
}

} // namespace qm::css
