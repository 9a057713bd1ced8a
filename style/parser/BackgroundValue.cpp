// Background properties of the CSS property parser: "background-image",
// "background-repeat", "background-color", "background-position" and the
// "background" shorthand. The colour is one group of the record; the image,
// its repeat flags and its position are another, with one set byte and one
// origin.

#include "element/services/XDocServices.h"

#include "base/url/UrlPath.h"
#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/values/CssColour.h"

#include <climits>

using namespace qm::css;

namespace {

constexpr int kRepeatMask = 0x00FF;
constexpr int kRight = 0x100;
constexpr int kBottom = 0x200;
constexpr int kCentredX = 0x400;
constexpr int kCentredY = 0x800;

const Keyword kRepeats[] = {{"repeat", 1}, {"repeat-x", 2}, {"repeat-y", 4}, {"no-repeat", 8}, {nullptr, 0}};
// background-attachment: the view scrolls the whole document, so a fixed
// background scrolls with it as any other; the word is read and has no slot.
const Keyword kAttachments[] = {{"scroll", 0}, {"fixed", 1}, {nullptr, 0}};

void MarkImageGroup(ELEMENT_STYLE& style)
{
    style.bkImageSet = 1;
    style.bkImageOrigin = kOriginRule;
}

// "none" (an empty image) or "url(...)". A "file://" address becomes a local
// path. An address that does not fit the image field is refused rather than
// stored cut short.
bool ParseImage(const CSafeBuf& value, CSafeBuf& url)
{
    if (value == "none") {
        url.Empty();
        return true;
    }
    if (!ParseUrl(value, url))
        return false;
    if (url.Left(7).CompareNoCase("file://") == 0)
        ParseLocalURL(url);
    return url.Length() < kBackgroundImageUnits;
}

// One word of a position.
struct PositionWord
{
    enum Kind
    {
        kHorizontal, // left, right
        kVertical,   // top, bottom
        kCentre,     // center: either axis
        kLength      // a length or percentage: the axis of its place
    } kind;
    int value;
    int flag; // kRight or kBottom
    bool pixels;
};

bool ParsePositionWord(CXDocServices& doc, CSafeBuf& word, PositionWord& out)
{
    out = {PositionWord::kLength, 0, 0, false};
    if (word == "left") {
        out.kind = PositionWord::kHorizontal;
    } else if (word == "right") {
        out = {PositionWord::kHorizontal, 100, kRight, false};
    } else if (word == "top") {
        out.kind = PositionWord::kVertical;
    } else if (word == "bottom") {
        out = {PositionWord::kVertical, 100, kBottom, false};
    } else if (word == "center") {
        out = {PositionWord::kCentre, 50, 0, false};
    } else {
        int unit = 0;
        long number = 0;
        // The position slots hold pixels or percentages, 16 bits wide.
        if (!doc.ParseLengthAndPercentageValue(word, unit, number, false)
            || (unit != kUnitPixels && unit != kUnitPercent))
            return false;
        out.value = static_cast<int>(number < SHRT_MIN ? SHRT_MIN : number > SHRT_MAX ? SHRT_MAX : number);
        out.pixels = unit == kUnitPixels;
    }
    return true;
}

// One or two words, horizontal first unless a keyword names its axis; a
// single word leaves the other axis centred.
bool ParsePosition(CXDocServices& doc, ELEMENT_STYLE& style, const CSafeBuf& value)
{
    std::vector<CSafeBuf> words = SplitWords(value);
    if (words.empty() || words.size() > 2)
        return false;
    PositionWord x{}, y{};
    if (!ParsePositionWord(doc, words[0], x))
        return false;
    if (words.size() == 1) {
        y = {PositionWord::kCentre, 50, 0, false};
        if (x.kind == PositionWord::kVertical)
            std::swap(x, y);
    } else {
        if (!ParsePositionWord(doc, words[1], y))
            return false;
        if (x.kind == PositionWord::kVertical || y.kind == PositionWord::kHorizontal)
            std::swap(x, y);
        if (x.kind == PositionWord::kVertical || y.kind == PositionWord::kHorizontal)
            return false;
    }
    int flags = x.flag | y.flag;
    if (x.kind == PositionWord::kCentre)
        flags |= kCentredX;
    if (y.kind == PositionWord::kCentre)
        flags |= kCentredY;
    style.bkPositionX = static_cast<std::int16_t>(x.value);
    style.bkPositionY = static_cast<std::int16_t>(y.value);
    style.bkPositionKinds = static_cast<std::uint16_t>((x.pixels ? 1 : 0) | (y.pixels ? 0x100 : 0));
    style.bkRepeat = static_cast<std::uint16_t>((style.bkRepeat & kRepeatMask) | flags);
    MarkImageGroup(style);
    return true;
}

void SetRepeat(ELEMENT_STYLE& style, int repeat)
{
    style.bkRepeat = static_cast<std::uint16_t>((style.bkRepeat & ~kRepeatMask) | repeat);
    MarkImageGroup(style);
}

void SetImage(ELEMENT_STYLE& style, const CSafeBuf& url)
{
    style.bkImage.Set(url);
    MarkImageGroup(style);
}

void SetColour(ELEMENT_STYLE& style, int colour)
{
    style.bkColor = colour;
    style.bkColorSet = 1;
    style.bkColorOrigin = kOriginRule;
}

} // namespace

bool CXDocServices::CheckBackgroundValue(
    ELEMENT_STYLE* style, CSafeBuf& value, const unsigned short* property)
{
    if (!style || !property)
        return false;
    const CSafeBuf name(property);
    if (name == "background-image") {
        CSafeBuf url;
        if (!ParseImage(value, url))
            return false;
        SetImage(*style, url);
        return true;
    }
    if (name == "background-repeat") {
        int repeat = 0;
        if (!FindKeyword(value, kRepeats, true, repeat))
            return false;
        SetRepeat(*style, repeat);
        return true;
    }
    if (name == "background-color") {
        const int colour = GetColor(value, false);
        if (colour == kColorInvalid)
            return false;
        SetColour(*style, colour);
        return true;
    }
    if (name == "background-position")
        return ParsePosition(*this, *style, value);
    return false;
}

bool CXDocServices::CheckBackgroundValue(ELEMENT_STYLE* style, CSafeBuf& value, const char* property)
{
    if (!property)
        return false;
    const CSafeBuf name(property);
    return CheckBackgroundValue(style, value, static_cast<const unsigned short*>(name));
}

namespace qm::css {

// Each word is tried as an image, a repeat value, an attachment and a
// colour; the other words, joined by spaces, are the position. Works on a copy, so that a
// position that does not parse leaves the record as it was.
bool ParseBackgroundShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    const std::vector<CSafeBuf> words = SplitWords(value);
    if (words.empty())
        return false;
    ELEMENT_STYLE copy = style;
    CSafeBuf position, url;
    for (const CSafeBuf& word : words) {
        int code = 0;
        if (ParseImage(word, url)) {
            SetImage(copy, url);
        } else if (FindKeyword(word, kRepeats, true, code)) {
            SetRepeat(copy, code);
        } else if (FindKeyword(word, kAttachments, true, code)) {
            continue;
        } else if ((code = GetColor(word, false)) != kColorInvalid) {
            SetColour(copy, code);
        } else {
            if (!position.IsEmpty())
                position += ' ';
            position += word;
        }
    }
    if (!position.IsEmpty() && !ParsePosition(doc, copy, position))
        return false;
    style = copy;
    return true;
}

} // namespace qm::css
