#pragma once
// The process's private font catalogue. It owns a fontconfig configuration
// of its own (the Liberation and DejaVu font folders and alias rules, never
// the user's or the machine's font set-up), a Pango font map over it and a
// measuring context at 72 pixels per inch, so a size in points is the same
// number of pixels and layout is the same on every machine.
//
// Families the system asks for by name, with their font numbers:
//   0 "Times New Roman" (the default family)  -> Liberation Serif
//   1 "Courier New" (the monospace family)    -> Liberation Mono
//   2 "Arial", 3 "Helvetica"                  -> Liberation Sans
//   4 "Courier"                               -> Liberation Mono
//   then the real faces themselves. DejaVu covers what they lack.
//
// Font folders: the standard locations of the two font packages, or the
// folders listed (':'-separated) in the environment variable QM_FONT_DIRS.
// A folder's fonts are taken from the machine's fontconfig cache of it
// while that is valid (FontFolderCache.h), else its files are scanned.

#include <pango/pango.h>

#include <string>
#include <vector>

namespace qm::text {

constexpr long kDefaultFontId = 0;
constexpr long kMonospaceFontId = 1;

struct FontFamily
{
    std::string name;
    long id;
};

// A new description (free it with pango_font_description_free) of the
// family at an absolute size in pixels, bold and italic as asked.
PangoFontDescription* NewFontDescription(const std::string& family, double size, bool bold, bool italic);

class FontCatalogue
{
public:
    // The one catalogue, built on first use and kept for the process's life.
    static FontCatalogue& Get();

    // False when fontconfig could not be set up or no font was found; text
    // then measures as empty and draws nothing.
    bool Ok() const { return m_ok; }

    const std::vector<FontFamily>& Families() const { return m_families; }
    // Font number of a family name (ASCII case ignored); -1 when unknown.
    long FontIdForName(const std::string& name) const;
    // Family name of a font number; the default family for an unknown number.
    std::string FamilyForId(long id) const;

    // Family name recorded in the font file that Pango actually chooses for
    // the family (empty when nothing can be loaded).
    std::string ResolvedFamily(const std::string& family, bool bold = false, bool italic = false) const;

    PangoFontMap* FontMap() const { return m_fontMap; }
    // Shared measuring context (no hinting of metrics, 72 dpi).
    PangoContext* MeasureContext() const { return m_context; }

private:
    FontCatalogue();
    bool m_ok = false;
    std::vector<FontFamily> m_families;
    PangoFontMap* m_fontMap = nullptr;
    PangoContext* m_context = nullptr;
};

} // namespace qm::text
