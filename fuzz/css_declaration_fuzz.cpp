// The CSS property parser on fuzzed declarations: a property name (one the
// parser knows, or fuzzed text) and a fuzzed value, parsed into an empty
// record, a rule's record (border defaults) or a record that already holds
// values. Checks that a rejected declaration leaves the record as it was,
// that every fixed text field stays terminated within its room, that the
// parser writes only the rule's origin, and that the record can be dumped.
// Take -dict=fuzz/css_declaration.dict for the words.

#include "fuzz/FuzzText.h"

#include "document/XDoc.h"
#include "style/records/StyleDump.h"

#include <cstring>

namespace {

const char* const kNames[] = {"-qm-lock", "-qm-marker-label", "-qm-marker-color", "-qm-marker-border-color",
    "-qm-marker-background-color", "list-style", "list-style-type", "list-style-image", "list-style-position",
    "font-size", "font-style", "font-weight", "font-variant", "font-family", "font", "direction",
    "text-decoration", "caption-side", "line-height", "text-transform", "background-image",
    "background-repeat", "background-color", "background-position", "background", "border", "border-left",
    "border-top", "border-right", "border-bottom", "border-left-color", "border-top-color",
    "border-right-color", "border-bottom-color", "border-color", "border-left-style", "border-top-style",
    "border-right-style", "border-bottom-style", "border-style", "border-left-width", "border-top-width",
    "border-right-width", "border-bottom-width", "border-width", "width", "height", "text-align",
    "vertical-align", "float", "clear", "text-indent", "margin-top", "margin-bottom", "margin-left",
    "margin-right", "margin", "border-collapse", "padding", "padding-top", "padding-bottom", "padding-left",
    "padding-right", "color"};
constexpr int kNameCount = sizeof(kNames) / sizeof(kNames[0]);

class FuzzDoc : public CXDoc
{
public:
    FuzzDoc()
    {
        const char* const fonts[] = {"Arial", "Courier New", "Times", "x"};
        for (int i = 0; i < 4; ++i) {
            auto* item = new FONT_LIST_ITEM;
            item->name = fonts[i];
            item->fontNumber = i + 2;
            item->next = m_fontList;
            m_fontList = item;
        }
        m_serifFamily = "Times New Roman";
        m_sansSerifFamily = "Arial";
        m_sansSerifFont = 5;
    }
};

bool Terminated(const unsigned short* field, int room)
{
    for (int i = 0; i < room; ++i) {
        if (!field[i])
            return true;
    }
    return false;
}

bool RuleOrigin(int origin) { return origin == 0 || origin == 3; }

void CheckCell(const STYLE_TYPE& cell)
{
    QM_FUZZ_CHECK(RuleOrigin(cell.origin));
    QM_FUZZ_CHECK(Terminated(cell.text, kStyleTypeTextUnits));
    QM_FUZZ_CHECK(cell.set || !cell.important); // only a written cell is marked
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzDoc doc;
    FuzzedDataProvider fdp(data, size);
    const int start = fdp.ConsumeIntegralInRange<int>(0, 2);
    const int pick = fdp.ConsumeIntegralInRange<int>(0, kNameCount);
    std::vector<unsigned short> name;
    if (pick < kNameCount)
        name = qmfuzz::Widen(kNames[pick]);
    else
        name = qmfuzz::ConsumeU16(fdp, 40);
    const std::vector<unsigned short> value = qmfuzz::ConsumeU16(fdp, 4000);

    ELEMENT_STYLE style;
    std::memset(static_cast<void*>(&style), 0, sizeof style);
    if (start == 1)
        doc.SetDefaultCSSValue(&style);
    if (start == 2) {
        const std::vector<unsigned short> margin = qmfuzz::Widen("margin");
        const std::vector<unsigned short> some = qmfuzz::Widen("1px 2em 3% 4pt");
        doc.ParseCSSStyleString(margin.data(), some.data(), style);
    }
    ELEMENT_STYLE before;
    std::memcpy(&before, &style, sizeof style);
    const bool understood = doc.ParseCSSStyleString(name.data(), value.data(), style);
    const bool marksFirst = pick < kNameCount && std::strcmp(kNames[pick], "text-decoration") == 0;
    if (!understood && !marksFirst)
        QM_FUZZ_CHECK(std::memcmp(&before, &style, sizeof style) == 0);

    QM_FUZZ_CHECK(Terminated(style.bkImage, kBackgroundImageUnits));
    QM_FUZZ_CHECK(Terminated(style.fontFamily, kFontFamilyUnits));
    QM_FUZZ_CHECK(Terminated(style.listImage.text, kStyleStringUnits));
    QM_FUZZ_CHECK(Terminated(style.markerLabel.text, kStyleStringUnits));
    for (const STYLE_TYPE* cell : {&style.textIndent, &style.direction, &style.marginTop, &style.marginBottom,
             &style.marginLeft, &style.marginRight, &style.floatSide, &style.clear, &style.paddingTop,
             &style.paddingBottom, &style.paddingLeft, &style.paddingRight})
        CheckCell(*cell);
    for (int origin :
        {style.bkColorOrigin, style.bkImageOrigin, style.fontOrigin, style.colorOrigin, style.hAlignOrigin,
            style.vAlignOrigin, style.borderOrigin, style.widthOrigin, style.heightOrigin})
        QM_FUZZ_CHECK(RuleOrigin(origin));
    if (style.weightSet)
        QM_FUZZ_CHECK(style.fontWeight >= 100 && style.fontWeight <= 900 && style.fontWeight % 100 == 0);
    if (style.widthSet)
        QM_FUZZ_CHECK(style.width >= 0);
    if (style.heightSet)
        QM_FUZZ_CHECK(style.height >= 0);
    if (style.sizeSet)
        QM_FUZZ_CHECK(style.fontSize >= 0);

    CSafeBuf dump;
    DumpStyle(style, dump, kStyleDumpOrigins);
    return 0;
}
