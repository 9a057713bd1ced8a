#include "platform/text/FontCatalogue.h"

#include <fontconfig/fontconfig.h>
#include <harfbuzz/hb-ot.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include "platform/common/Ascii.h"
#include "platform/text/FontFolderCache.h"

#include <cstdlib>
#include <new>

namespace qm::text {

namespace {

const char* const kStandardFontDirs[] = {
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/dejavu",
};

std::string Alias(const char* family, const char* prefer1, const char* prefer2)
{
    std::string s = "<alias binding=\"same\"><family>";
    s += family;
    s += "</family><prefer><family>";
    s += prefer1;
    s += "</family><family>";
    s += prefer2;
    s += "</family></prefer></alias>\n";
    return s;
}

std::vector<std::string> FontDirs()
{
    std::vector<std::string> out;
    const char* env = std::getenv("QM_FONT_DIRS");
    if (env && *env) {
        std::string dirs = env;
        size_t pos = 0;
        while (pos <= dirs.size()) {
            size_t end = dirs.find(':', pos);
            if (end == std::string::npos)
                end = dirs.size();
            if (end > pos)
                out.push_back(dirs.substr(pos, end - pos));
            pos = end + 1;
        }
    } else {
        for (const char* d : kStandardFontDirs)
            out.push_back(d);
    }
    return out;
}

// Adds the font files of a folder one by one (FontFilesOf), from the
// machine's cache of the folder where it has a valid one. Scanning a folder
// as such would make fontconfig want a writable cache folder.
int AddFontFiles(FcConfig* config, const std::string& dir)
{
    const std::vector<std::string> files = FontFilesOf(dir);
    if (!files.empty() && AddCachedFonts(config, dir, files))
        return static_cast<int>(files.size());
    int added = 0;
    for (const std::string& f : files)
        if (FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(f.c_str())))
            ++added;
    return added;
}

std::string ConfigText()
{
    std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    xml += FontCacheFolders();
    xml += Alias("Times New Roman", "Liberation Serif", "DejaVu Serif");
    xml += Alias("Times", "Liberation Serif", "DejaVu Serif");
    xml += Alias("serif", "Liberation Serif", "DejaVu Serif");
    xml += Alias("Arial", "Liberation Sans", "DejaVu Sans");
    xml += Alias("Helvetica", "Liberation Sans", "DejaVu Sans");
    xml += Alias("sans-serif", "Liberation Sans", "DejaVu Sans");
    xml += Alias("Courier New", "Liberation Mono", "DejaVu Sans Mono");
    xml += Alias("Courier", "Liberation Mono", "DejaVu Sans Mono");
    xml += Alias("monospace", "Liberation Mono", "DejaVu Sans Mono");
    // Any family not found falls back to DejaVu.
    xml += "<match target=\"pattern\"><edit name=\"family\" mode=\"append_last\">"
           "<string>DejaVu Sans</string></edit></match>\n";
    xml += "</fontconfig>\n";
    return xml;
}

} // namespace

PangoFontDescription* NewFontDescription(const std::string& family, double size, bool bold, bool italic)
{
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, family.c_str());
    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
    pango_font_description_set_weight(desc, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return desc;
}

FontCatalogue& FontCatalogue::Get()
{
    // Built once and never destroyed: the font map it holds is a process-wide
    // cache that other statics may still use at exit.
    static FontCatalogue* instance = new FontCatalogue();
    return *instance;
}

FontCatalogue::FontCatalogue()
{
    const char* names[]
        = {"Times New Roman", "Courier New", "Arial", "Helvetica", "Courier", "Liberation Serif",
            "Liberation Sans", "Liberation Mono", "DejaVu Serif", "DejaVu Sans", "DejaVu Sans Mono"};
    long id = 0;
    for (const char* n : names)
        m_families.push_back(FontFamily{n, id++});

    FcConfig* config = FcConfigCreate();
    if (!config)
        return;
    std::string xml = ConfigText();
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue)
        || !FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return;
    }
    int added = 0;
    for (const std::string& dir : FontDirs())
        added += AddFontFiles(config, dir);
    if (added == 0) {
        FcConfigDestroy(config);
        return;
    }
    m_fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (!m_fontMap || !PANGO_IS_FC_FONT_MAP(m_fontMap)) {
        FcConfigDestroy(config);
        return;
    }
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m_fontMap), config);
    FcConfigDestroy(config); // the font map holds its own reference
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(m_fontMap), 72.0);

    m_context = pango_font_map_create_context(m_fontMap);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(m_context, opts);
    cairo_font_options_destroy(opts);
    pango_cairo_context_set_resolution(m_context, 72.0);
    pango_context_set_base_dir(m_context, PANGO_DIRECTION_LTR);
    // Fractional advances: a width measured at twice the size is twice as wide.
    pango_context_set_round_glyph_positions(m_context, FALSE);
    pango_context_set_language(m_context, pango_language_from_string("en"));
    m_ok = true;
}

long FontCatalogue::FontIdForName(const std::string& name) const
{
    for (const FontFamily& f : m_families)
        if (ascii::EqualNoCase(f.name, name))
            return f.id;
    return -1;
}

std::string FontCatalogue::FamilyForId(long id) const
{
    for (const FontFamily& f : m_families)
        if (f.id == id)
            return f.name;
    return m_families.front().name;
}

std::string FontCatalogue::ResolvedFamily(const std::string& family, bool bold, bool italic) const
{
    if (!m_ok)
        return std::string();
    PangoFontDescription* desc = NewFontDescription(family, 16, bold, italic);
    PangoFont* font = pango_font_map_load_font(m_fontMap, m_context, desc);
    pango_font_description_free(desc);
    if (!font)
        return std::string();
    std::string result;
    hb_font_t* hb = pango_font_get_hb_font(font);
    if (hb) {
        hb_face_t* face = hb_font_get_face(hb);
        char buf[256];
        unsigned int size = sizeof buf;
        if (hb_ot_name_get_utf8(face, HB_OT_NAME_ID_FONT_FAMILY, HB_LANGUAGE_INVALID, &size, buf) > 0)
            result = buf;
    }
    g_object_unref(font);
    return result;
}

} // namespace qm::text
