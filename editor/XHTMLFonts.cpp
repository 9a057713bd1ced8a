// The document's generic font families, given by the engine's start-up.
//
// Each CSS generic family ("serif" ... "monospace") starts from a list of
// fonts that suit it, resolved against the installed fonts of the document
// (CXDocServices::ValidateFontFamily): when a font of the list is installed
// the generic takes that font's name and number. A list of which nothing
// but the default font resolves keeps its text as given and the default
// font number. Monospace is always font number 1; only its name follows the
// list.

#include "editor/XHTML.h"

#include "style/records/FontDefaults.h"

namespace {

struct GenericFamily
{
    const char* list;
    CSafeBuf CXDocServices::*family;
    long CXDocServices::*font; // null: the number is fixed
};

// The fantasy list ends in a blank, as it always has.
const GenericFamily kGenericFamilies[] = {
    {"Times New Roman, Bodoni, Garamond, Minion Web, ITC Stone Serif, MS Georgia, Bitstream Cyberbit",
        &CXDocServices::m_serifFamily, &CXDocServices::m_serifFont},
    {"MS Trebuchet, ITC Avant Garde Gothic, MS Arial, MS Verdana, Univers, Futura, ITC Stone Sans, Gill "
     "Sans, "
     "Akzidenz Grotesk, Helvetica",
        &CXDocServices::m_sansSerifFamily, &CXDocServices::m_sansSerifFont},
    {"Caflisch Script, Adobe Poetica, Sanvito, Ex Ponto, Snell Roundhand, Zapf-Chancery",
        &CXDocServices::m_cursiveFamily, &CXDocServices::m_cursiveFont},
    {"Alpha Geometrique, Critter, Cottonwood, FB Reactor, Studz ", &CXDocServices::m_fantasyFamily,
        &CXDocServices::m_fantasyFont},
    {"Courier, MS Courier New, Prestige, Everson Mono", &CXDocServices::m_monospaceFamily, nullptr},
};

} // namespace

void CXHTML::SetGenericFontFamilies()
{
    CXDocServices& doc = m_doc;
    for (const GenericFamily& g : kGenericFamilies) {
        const CSafeBuf list(reinterpret_cast<const unsigned char*>(g.list));
        CSafeBuf resolved(list);
        const long number = doc.ValidateFontFamily(resolved);
        const bool onlyDefault = number == doc.m_defaultFontNumber && resolved == kDefaultFontFamily;
        doc.*g.family = onlyDefault ? list : resolved;
        if (g.font)
            doc.*g.font = number;
    }
}
