#pragma once
// CreateElement: the only way an element comes into being. From a tag name it
// picks the element class, sets the kind code, the kind flags and the default
// margins, gives the element its default style for the tag, attaches it to
// its owner and root, sets its tag name (which applies the style sheets) and
// registers it in the owner's document.
//
// Tags are compared exactly: "P" is not "p" but a custom element. A tag the
// factory does not know makes a custom element, block when the control's
// CustomBlockElements list names it, marked empty (no children) when its
// CustomEmptyElements list does, else inline; an XHTML tag that is not inline
// by nature (html, head, title, meta ...) gets neither flag.

#include <vector>

class CElement;
class CXHTMLServices;
struct STYLE_CLASS;

// The element for tag (empty or null: a text run). root is the document's
// body (ignored for "body", which is its own root); owner the editing engine,
// through which the element is registered and the custom lists are read.
// Null only when memory runs out.
CElement* CreateElement(const unsigned short* tag, STYLE_CLASS* rules, CElement* root, CXHTMLServices* owner);
// The tag widened byte by byte (zero-extended).
CElement* CreateElement(const char* tag, STYLE_CLASS* rules, CElement* root, CXHTMLServices* owner);

// While one lives, the identifiers of the image elements CreateElement makes
// on its thread are noted in it, and in every scope it lies within: a reader
// that made a whole tree in its time knows every image the tree can hold.
class CImagesMade
{
public:
    CImagesMade();
    ~CImagesMade();
    CImagesMade(const CImagesMade&) = delete;
    CImagesMade& operator=(const CImagesMade&) = delete;

    const std::vector<long>& Ids() const { return m_ids; }
    // Notes e when it is an image, in every scope alive.
    static void Note(const CElement* e);

private:
    std::vector<long> m_ids;
    CImagesMade* m_outer;
};

// 936 for the language code "cn", else 0.
int GetCodePage(const unsigned short* language);
