// The document's picture pool: sources are keys with their case kept, whole
// at any length; reloading finds images by their resolved source.

#include "element/ElementPictures.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "style/Image.h"
#include "tests/common/TextHelpers.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtest::BuildTree;
using qmtest::BuiltTree;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

const std::string kImages = std::string(QM_TEST_DATA_DIR) + "/images/";

int PoolSize(const CXHTML& engine)
{
    int n = 0;
    for (IMAGE_POOL_ITEM* item = engine.m_doc.m_imagePool; item; item = item->next)
        ++n;
    return n;
}

} // namespace

TEST(Pictures, PoolKeysKeepCaseAndLength)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><img _mark=''/></body>", &engine);
    CElement* img = t.marked;
    const CSafeBuf png = FromUtf8(kImages + "picture.png");
    CImage* picture = GetImage(img, png, nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(16, picture->GetWidth());
    EXPECT_EQ(picture, GetImage(img, FromUtf8("  " + kImages + "picture.png\t"), nullptr)) << "trimmed";

    CImage* upper = GetImage(img, FromUtf8(kImages + "PICTURE.PNG"), nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_NE(picture, upper) << "another file on a case-sensitive system";
    EXPECT_EQ(0, upper->GetWidth());

    const std::string longSource = "missing/" + std::string(1100, 'x');
    CImage* a = GetImage(img, FromUtf8(longSource + "a.png"), nullptr);
    CImage* b = GetImage(img, FromUtf8(longSource + "b.png"), nullptr);
    EXPECT_NE(a, b) << "long sources differing at the end are two pictures";
    EXPECT_EQ(a, GetImage(img, FromUtf8(longSource + "a.png"), nullptr));
    EXPECT_EQ(4, PoolSize(engine));
    EXPECT_EQ(nullptr, GetImage(img, FromUtf8("  "), nullptr));
}

TEST(Pictures, ThePoolKeepsItsOrderAndStartsAfreshWhenReleased)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><img _mark=''/></body>", &engine);
    std::vector<CImage*> pictures;
    for (int i = 0; i < 50; ++i)
        pictures.push_back(GetImage(t.marked, FromUtf8("missing/" + std::to_string(i) + ".png"), nullptr));
    EXPECT_EQ(pictures[7], GetImage(t.marked, FromUtf8("missing/7.png"), nullptr));
    size_t i = 0;
    for (IMAGE_POOL_ITEM* item = engine.m_doc.m_imagePool; item; item = item->next, ++i) {
        ASSERT_LT(i, pictures.size());
        EXPECT_EQ(item->image, pictures[i]) << "in the order asked";
    }
    EXPECT_EQ(pictures.size(), i);

    engine.m_doc.ReleaseImagePool();
    EXPECT_EQ(0, PoolSize(engine));
    CImage* again = GetImage(t.marked, FromUtf8("missing/7.png"), nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(1, PoolSize(engine)) << "loaded again after the release";
    EXPECT_EQ(again, engine.m_doc.m_imagePool->image);
    EXPECT_EQ(again, GetImage(t.marked, FromUtf8("missing/7.png"), nullptr));
    EXPECT_EQ(1, PoolSize(engine));
}

TEST(Pictures, ReloadSetsTheSizeOfImagesWithTheResolvedSource)
{
    CXHTML engine;
    engine.m_doc.m_baseURL = FromUtf8(kImages);
    BuiltTree t = BuildTree("<body><p><img _mark='' src='picture.png' width='3'/><img src='Picture.png'"
                            " width='4'/></p></body>",
        &engine);
    const CSafeBuf url = FromUtf8(kImages + "picture.png");
    ASSERT_NE(GetImage(t.marked, url, nullptr), nullptr);

    EXPECT_TRUE(ReloadImageSrc(t.root, url, nullptr));
    CSafeBuf width, height;
    t.marked->GetAttrString("width", width);
    t.marked->GetAttrString("height", height);
    EXPECT_EQ("16", ToUtf8(width));
    EXPECT_EQ("16", ToUtf8(height));
    EXPECT_EQ(16, t.marked->Lay().m_cssRect.right);
    t.marked->m_nextSibling->GetAttrString("width", width);
    EXPECT_EQ("4", ToUtf8(width)) << "a source in another case is another picture";

    EXPECT_FALSE(ReloadImageSrc(t.root, FromUtf8(kImages + "PICTURE.PNG"), nullptr));
    // Without a pooled picture size the old values come back.
    engine.m_doc.m_baseURL = FromUtf8("elsewhere/");
    t.marked->m_attributes.SetAt("src", FromUtf8("none.png"));
    EXPECT_TRUE(ReloadImageSrc(t.root, FromUtf8("elsewhere/none.png"), nullptr));
    t.marked->GetAttrString("width", width);
    EXPECT_EQ("16", ToUtf8(width));
}
