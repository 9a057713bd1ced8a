// Image elements laid out, painted and written back (cases in
// tests/data/images/image_elements.txt), and the image as a click target and
// caret stop.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/ImageElement.h"
#include "platform/cg/Context.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"
#include "platform/text/TextStyle.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "tests/common/CaseFile.h"
#include "tests/common/OfflineNetwork.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::Utf8;

using qmtest::OfflineNetwork;

// A fragment read with this folder's pictures, laid out at 400 pixels and
// painted.
struct ImageDocument
{
    ImageDocument(const std::string& markup, int display)
    {
        engine.m_imageDisplayMode = display;
        engine.m_missingPictureText = qmtest::FromUtf8("Picture not found");
        engine.m_doc.m_baseURL = qmtest::FromUtf8(QM_TEST_DATA_DIR "/images/");
        CSafeBuf error;
        ok = doc.Read(markup.data(), markup.size(), error) && doc.Body() && LayoutDocument(doc.Body(), 400)
            && RepaintDocument(doc.Body()) && doc.Body()->m_dc;
        image = ok ? dynamic_cast<CImageElement*>(FindImage(doc.Body())) : nullptr;
    }
    static CElement* FindImage(CElement* e)
    {
        if (e->m_kind == kKindImg)
            return e;
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (CElement* found = FindImage(c))
                return found;
        }
        return nullptr;
    }
    std::string At(int x, int y) const
    {
        const qm::cg::Pixel p = doc.Body()->m_dc->ReadPixel(x, y);
        return std::to_string(p.red) + "," + std::to_string(p.green) + "," + std::to_string(p.blue);
    }
    CRect Box() const
    {
        const CPoint at = DocumentPosition(image);
        return CRect(at.x, at.y, at.x + image->Lay().m_sizeRect.right, at.y + image->Lay().m_sizeRect.bottom);
    }
    // What the paint showed, in the case file's words.
    std::string Painted() const
    {
        const CRect box = Box();
        const int middleY = (box.top + box.bottom) / 2;
        if (image->GetDisplayType() == 2) {
            // The texts of the pieces the image wrapped into.
            std::string text;
            for (CElement* piece = image; piece && piece->m_kind == kKindImg; piece = piece->m_nextSibling) {
                if (piece != image && piece->m_inlineGroup != image->m_inlineGroup)
                    break;
                for (CElement* c = piece->m_firstChild; c; c = c->m_nextSibling)
                    text += Utf8(c->m_text) + "|";
            }
            return "alt " + text;
        }
        if (image->GetDisplayType() == 3) {
            if (At(box.left, middleY) != "128,128,128"
                || At((box.left + box.right) / 2, middleY) != "255,255,255")
                return "outline not drawn";
            return "outline";
        }
        if (image->m_paintedAsText) {
            if (At(box.left, middleY) != "0,0,0")
                return "text not framed";
            return "text " + std::to_string(static_cast<int>(image->FallbackTextStyle().Size()));
        }
        return "picture " + At((box.left + box.right) / 2, middleY);
    }
    std::string Written() const
    {
        CSafeBuf out, a, b, c;
        image->GetSourceCode(out, 0, 0, a, b, c, nullptr);
        return Utf8(out);
    }

    CXHTML engine;
    CMarkupDocument doc{&engine};
    CImageElement* image = nullptr;
    bool ok = false;
};

} // namespace

TEST(ImageElement, LayoutPaintAndMarkupCases)
{
    OfflineNetwork offline;
    const auto cases = qmtest::ReadCaseFile("images/image_elements.txt", 5);
    ASSERT_FALSE(cases.empty());
    for (const qmtest::CaseLine& c : cases) {
        const std::string where = "image_elements.txt line " + std::to_string(c.line);
        ImageDocument d(c.fields[1], std::stoi(c.fields[0]));
        ASSERT_TRUE(d.ok && d.image) << where;
        if (c.fields[2] != "-") {
            EXPECT_EQ(std::to_string(d.image->Lay().m_sizeRect.right) + "x"
                    + std::to_string(d.image->Lay().m_sizeRect.bottom),
                c.fields[2])
                << where;
        }
        EXPECT_EQ(d.Painted(), c.fields[3]) << where;
        EXPECT_EQ(d.Written(), c.fields[4]) << where;
    }
}

TEST(ImageElement, AClickSelectsTheImageAloneAndASecondClickAnswersFalse)
{
    ImageDocument d("<p><img src=\"wide.png\" /> and <img src=\"picture.png\" /></p>", 1);
    ASSERT_TRUE(d.ok && d.image);
    CElement* other = d.image->m_nextSibling->m_nextSibling;
    ASSERT_TRUE(other && other->m_kind == kKindImg);
    other->m_selected = 1;
    bool handled = false, selected = false;
    CPoint caret;
    int length = 0;
    EXPECT_EQ(d.image->LButtonDown(0, CPoint(), handled, caret, length, selected), 1);
    EXPECT_TRUE(selected);
    EXPECT_TRUE(d.image->m_selected);
    EXPECT_FALSE(other->m_selected);
    EXPECT_EQ(d.image->LButtonDown(0, CPoint(), handled, caret, length, selected), 0);
    EXPECT_EQ(d.image->LButtonDown(0xFFFF, CPoint(), handled, caret, length, selected), 0);

    // The selected image holds the pointer inside its box only.
    const CRect box = d.Box();
    EXPECT_TRUE(d.image->IsCursorInsideSelection(CPoint(box.left + 1, box.top + 1)));
    EXPECT_FALSE(d.image->IsCursorInsideSelection(CPoint(box.right, box.top + 1)));
}

TEST(ImageElement, TheCaretMovesToTheNearerSideOfThePicture)
{
    ImageDocument d("<p><img src=\"wide.png\" /></p>", 1);
    ASSERT_TRUE(d.ok && d.image);
    const CRect box = d.Box();
    CPoint caret(box.left + 150, 0);
    int length = 0, unused = 0;
    ASSERT_EQ(d.image->GetCloseCursor(CPoint(box.left + 10, box.top + 5), caret, length, unused, 1), 1);
    EXPECT_EQ(caret, CPoint(box.left, box.bottom));
    EXPECT_EQ(length, 100);
    caret = CPoint(box.left + 50, 0);
    ASSERT_EQ(d.image->GetCloseCursor(CPoint(box.left + 190, box.top + 5), caret, length, unused, 1), 1);
    EXPECT_EQ(caret.x, box.right);
    EXPECT_EQ(d.image->GetCloseCursor(CPoint(box.left + 10, box.top + 5), caret, length, unused, 0), 0);
    EXPECT_EQ(d.image->GetCloseCursor(CPoint(box.right + 10, box.top + 5), caret, length, unused, 1), 0);
}

TEST(ImageElement, InTextDisplayTheArrowsEnterTheAlternativeText)
{
    ImageDocument d("<p><img src=\"wide.png\" alt=\"Hill\" /></p>", 2);
    ASSERT_TRUE(d.ok && d.image && d.image->m_firstChild);
    bool handled = false;
    CPoint point;
    int length = 0;
    CElement* caret = nullptr;
    d.image->m_caretOffset = 0;
    EXPECT_TRUE(d.image->OnChar(29, 1, 0, handled, point, length, caret, false));
    EXPECT_EQ(caret, d.image->m_firstChild);
    EXPECT_EQ(caret->m_caretOffset, 0);
    EXPECT_EQ(d.engine.m_doc.m_caretElement, caret);

    d.image->m_caretOffset = 1;
    caret = nullptr;
    EXPECT_TRUE(d.image->OnChar(28, 1, 0, handled, point, length, caret, false));
    EXPECT_EQ(caret, d.image->m_lastChild);
    EXPECT_EQ(caret->m_caretOffset, 4);

    // Edited text goes back into alt; emptied, alt is empty too.
    d.image->m_firstChild->m_text = qmtest::FromUtf8("Hills");
    EXPECT_TRUE(d.image->UpdateAltTxt());
    CSafeBuf alt;
    d.image->GetAltTxt(alt);
    EXPECT_EQ(Utf8(alt), "Hills");
    d.image->m_firstChild->m_text.Empty();
    EXPECT_TRUE(d.image->UpdateAltTxt());
    d.image->GetAltTxt(alt);
    EXPECT_TRUE(alt.IsEmpty());

    // Back to the picture: the text goes, and the caret in it moves after
    // the image.
    d.engine.m_doc.m_caretElement = d.image->m_firstChild;
    d.engine.m_imageDisplayMode = 1;
    ASSERT_TRUE(LayoutDocument(d.doc.Body(), 400));
    EXPECT_EQ(d.image->m_firstChild, nullptr);
    EXPECT_EQ(d.engine.m_doc.m_caretElement, d.image);
    EXPECT_EQ(d.image->m_caretOffset, 1);
    EXPECT_EQ(d.image->Lay().m_sizeRect, CRect(0, 0, 200, 100));
}
