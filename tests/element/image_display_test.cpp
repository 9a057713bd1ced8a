// Images rebuilt after a change of display type: the pieces of an image
// whose alternative text wrapped over lines are joined again, and images
// lose their own display types.

#include "element/ImageDisplay.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/ImageElement.h"
#include "platform/events/Services.h"
#include "platform/net/Http.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/OfflineNetwork.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qmtest::Utf8;

using qmtest::OfflineNetwork;

// A narrow block holding one image shown as its alternative text, laid out
// so that the text wraps into three pieces.
struct WrappedImage
{
    WrappedImage()
    {
        engine.m_imageDisplayMode = 2;
        engine.m_doc.m_baseURL = qmtest::FromUtf8(QM_TEST_DATA_DIR "/images/");
        const std::string markup
            = "<div style=\"width:60px\"><img src=\"wide.png\" alt=\"one two three four\" "
              "/><b>after</b></div>";
        CSafeBuf error;
        if (doc.Read(markup.data(), markup.size(), error) && LayoutDocument(doc.Body(), 400))
            engine.m_doc.m_root = doc.Body();
    }
    ~WrappedImage() { engine.m_doc.m_root = nullptr; }
    std::vector<CImageElement*> Images() const
    {
        std::vector<CImageElement*> images;
        for (CElement* c = doc.Body()->m_firstChild->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == kKindImg)
                images.push_back(static_cast<CImageElement*>(c));
        }
        return images;
    }
    static std::string Texts(const CElement* e)
    {
        std::string text;
        for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            text += Utf8(c->m_text) + "|";
        return text;
    }
    std::string Written() const
    {
        CSafeBuf out;
        doc.Write(out, 0);
        return Utf8(out);
    }

    OfflineNetwork offline;
    CXHTML engine;
    CMarkupDocument doc{&engine};
};

std::string Alt(const CElement* e)
{
    CSafeBuf alt;
    return e->m_attributes.Lookup("alt", alt) ? Utf8(alt) : "(none)";
}

} // namespace

TEST(ImageDisplay, PiecesShownAsTextJoinIntoOneImage)
{
    WrappedImage w;
    ASSERT_EQ(w.Images().size(), 3u) << "the case needs the text wrapped";
    const std::string written = w.Written();
    CImageElement* first = w.Images()[0];
    // The caret in the last piece's text comes back to the image.
    w.engine.m_doc.m_caretElement = w.Images()[2]->m_firstChild;

    EXPECT_TRUE(CombineImage(w.doc.Body()));
    ASSERT_EQ(w.Images().size(), 1u);
    EXPECT_EQ(w.Images()[0], first);
    EXPECT_EQ(first->m_inlineGroup, 0);
    EXPECT_EQ(first->GetWrappedInlineBrothers(nullptr), 0);
    EXPECT_EQ(Alt(first), "one two three four");
    EXPECT_EQ(WrappedImage::Texts(first), "one two three four|");
    EXPECT_EQ(w.engine.m_doc.m_caretElement, first);
    EXPECT_EQ(w.Written(), written) << "the markup is the same before and after";
    EXPECT_FALSE(CombineImage(w.doc.Body())) << "nothing left to join";
    EXPECT_FALSE(CombineImage(nullptr));
}

TEST(ImageDisplay, PiecesLeftFromTextDisplayJoinWhenShownAsPicture)
{
    WrappedImage w;
    ASSERT_EQ(w.Images().size(), 3u);
    // The document switched to pictures after the text had wrapped: left
    // apart, the pieces would be written as three images.
    w.engine.m_imageDisplayMode = 1;
    EXPECT_TRUE(CombineImage(w.doc.Body()));
    ASSERT_EQ(w.Images().size(), 1u);
    EXPECT_EQ(w.Images()[0]->m_firstChild, nullptr);
    EXPECT_EQ(Alt(w.Images()[0]), "one two three four");
    EXPECT_EQ(w.Written(),
        "<div style=\"width:60px\"><img src=\"wide.png\" alt=\"one two three four\" "
        "/><b>after</b></div>");
}

TEST(ImageDisplay, UnwrappedImagesNotShownAsTextLoseTheirChildren)
{
    OfflineNetwork offline;
    CXHTML engine;
    engine.m_imageDisplayMode = 2;
    CMarkupDocument doc{&engine};
    CSafeBuf error;
    const std::string markup = "<p><img src=\"a.png\" alt=\"x\" /><img src=\"b.png\" alt=\"\" /></p>";
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    auto* a = static_cast<CImageElement*>(doc.Body()->m_firstChild->m_firstChild);
    auto* b = static_cast<CImageElement*>(a->m_nextSibling);
    ASSERT_NE(a->m_firstChild, nullptr);
    b->m_displayType = 2; // shown as text on its own
    engine.m_imageDisplayMode = 3;
    EXPECT_FALSE(CombineImage(doc.Body())) << "nothing was joined";
    EXPECT_EQ(a->m_firstChild, nullptr);
    EXPECT_NE(b->m_firstChild, nullptr);
    EXPECT_EQ(Alt(b), "") << "an empty alt stays";

    // Dropping the own display types: b follows the document again.
    a->m_displayType = 1;
    EXPECT_EQ(ResetImageDisplayType(doc.Body()), 2);
    EXPECT_EQ(a->m_displayType, 0);
    EXPECT_EQ(b->m_displayType, 0);
    EXPECT_EQ(b->GetDisplayType(), 3);
    EXPECT_EQ(ResetImageDisplayType(nullptr), 0);
}
