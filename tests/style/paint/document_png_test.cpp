// The document as a PNG, streamed a band of tiles at a time: its pixels are
// those of the whole bitmap painted and copied at once, and no more than one
// band beyond the shown tiles is resident meanwhile. A document far taller
// than a bitmap could hold painted whole paints, its last rows as those of
// a short one.

#include "element/Element.h"
#include "platform/cg/Context.h"
#include "style/paint/DocumentPng.h"
#include "style/paint/OffscreenView.h"
#include "tests/common/PngPixels.h"
#include "tests/common/TempDir.h"
#include "tests/style/support/PaintHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int kTile = qm::cg::Context::kTileRows;

std::string Px(int v) { return std::to_string(v); }

// A body `height` rows tall: a box with solid sides from near its top to
// near its bottom, and near the bottom a float and blocks with dotted,
// dashed and solid borders.
std::string Document(int height)
{
    const int b = height;
    return "<body _box=\"0 0 60 " + Px(b) + "\" _avail=\"60\" style=\"background-color:#ccddee\">"
        + "<div _box=\"0 10 60 " + Px(b - 20) + "\" _avail=\"60\""
        + " style=\"background-color:#ffffcc;border:3px solid #ff0000\">" + "<div _box=\"30 " + Px(b - 420)
        + " 20 40\" style=\"float:right;background-color:#ffff00;" + "border:1px solid #000000\"/>"
        + "<p _box=\"5 " + Px(b - 300) + " 40 15\" _avail=\"50\" style=\"border:2px dotted #0000ff\"/>"
        + "<p _box=\"5 " + Px(b - 250) + " 40 15\" _avail=\"50\" style=\"border:2px dashed #00aa00\"/>"
        + "</div></body>";
}

// A document whose floats and bordered blocks cross both tile edges.
std::string AcrossTiles()
{
    std::string markup = "<body _box=\"0 0 40 " + Px(2 * kTile + 600) + "\" _avail=\"40\">";
    for (int edge : {kTile, 2 * kTile}) {
        markup += "<div _box=\"22 " + Px(edge - 20)
            + " 14 40\" style=\"float:right;background-color:#ffff00;border:1px solid #000000\"/>";
        markup += "<p _box=\"0 " + Px(edge - 7) + " 30 15\" _avail=\"40\""
            + " style=\"background-color:#00ff00;border:2px dotted #0000ff\"/>";
    }
    return markup + "</body>";
}

} // namespace

TEST(DocumentPng, StreamedBandsAreTheWholeBitmapsPixels)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("document-png-")));
    auto whole = qmtest::ReadPaintDocument(AcrossTiles());
    auto streamed = qmtest::ReadPaintDocument(AcrossTiles());
    ASSERT_TRUE(whole && streamed);
    const int width = 40, height = 2 * kTile + 600;

    // Every tile resident and painted, copied at once.
    ASSERT_TRUE(RepaintDocument(whole->body));
    ASSERT_TRUE(ExportDocumentRows(whole->body, 0, height));
    int w = width, h = height;
    std::vector<unsigned char> reference;
    ASSERT_TRUE(whole->body->m_dc->CopyRGBA(reference, 0, 0, w, h));

    CElement* body = streamed->body;
    ASSERT_TRUE(RepaintDocument(body));
    const long long shown = ResidentBitmapBytes(body);
    // The first view holds some of the tiles, not all; the stream holds one
    // more at a time.
    long long band = 0;
    for (int i = 0; i < body->m_dc->TileCount(); ++i) {
        if (!body->m_dc->IsTileResident(i))
            band = std::max(band, body->m_dc->TileBytes(i));
    }
    ASSERT_GT(shown, 0);
    ASSERT_GT(band, 0);
    int next = 0;
    long long most = 0;
    EXPECT_TRUE(StreamDocumentRows(body, 0, height, [&](int first, int end) {
        EXPECT_EQ(next, first);
        next = end;
        most = std::max(most, ResidentBitmapBytes(body));
        return true;
    }));
    EXPECT_EQ(height, next);
    EXPECT_EQ(shown + band, most);
    EXPECT_EQ(shown, ResidentBitmapBytes(body));
    // A band that answers false ends the stream.
    int bands = 0;
    EXPECT_FALSE(StreamDocumentRows(body, 0, height, [&](int, int) { return ++bands < 2; }));
    EXPECT_EQ(2, bands);
    EXPECT_EQ(shown, ResidentBitmapBytes(body));

    const std::string path = dir.Path() + "/doc.png";
    ASSERT_EQ(DocumentPngResult::Written, WriteDocumentPNG(body, path));
    qmtest::PngPixels png;
    ASSERT_TRUE(qmtest::ReadPng(path, png));
    EXPECT_EQ(width, png.width);
    EXPECT_EQ(height, png.height);
    EXPECT_TRUE(png.rgba == reference);
    EXPECT_EQ(shown, ResidentBitmapBytes(body));

    EXPECT_EQ(DocumentPngResult::NotWritten, WriteDocumentPNG(body, dir.Path() + "/no/such/folder.png"));
    auto unpainted = qmtest::ReadPaintDocument(AcrossTiles());
    ASSERT_TRUE(unpainted);
    EXPECT_EQ(DocumentPngResult::NotPainted, WriteDocumentPNG(unpainted->body, dir.Path() + "/none.png"));
}

TEST(DocumentPng, APictureWithPixelsNotOpaqueKeepsItsAlpha)
{
    // A document paints opaque and is written as RGB; pixels left
    // transparent in a resident tile (rows 10 .. 19, columns 5 .. 14) make
    // the export start again with alpha.
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("document-png-")));
    auto doc = qmtest::ReadPaintDocument(AcrossTiles());
    ASSERT_TRUE(doc);
    ASSERT_TRUE(RepaintDocument(doc->body));
    qm::cg::Context& ctx = *doc->body->m_dc;
    ctx.ClearRect(qm::cg::Rect{5, double(ctx.Height() - 20), 10, 10});
    const std::string path = dir.Path() + "/doc.png";
    ASSERT_EQ(DocumentPngResult::Written, WriteDocumentPNG(doc->body, path));
    qmtest::PngPixels png;
    ASSERT_TRUE(qmtest::ReadPng(path, png));
    ASSERT_EQ(40, png.width);
    auto alpha = [&](int x, int row) { return png.rgba[(size_t(row) * 40 + size_t(x)) * 4 + 3]; };
    EXPECT_EQ(0, alpha(5, 10));
    EXPECT_EQ(0, alpha(14, 19));
    EXPECT_EQ(255, alpha(15, 19));
    EXPECT_EQ(255, alpha(5, 20));
    int w = 40, h = png.height;
    std::vector<unsigned char> reference;
    ASSERT_TRUE(ExportDocumentRows(doc->body, 0, h));
    ASSERT_TRUE(ctx.CopyRGBA(reference, 0, 0, w, h));
    EXPECT_TRUE(png.rgba == reference);
}

TEST(DocumentPng, ADocumentTwelveMillionRowsTallPaintsItsLastRowsAsAShortOne)
{
    // 260 x 12,000,200 pixels would be 12 GB painted whole; only resident
    // tiles take memory.
    const int tall = 12000000, shortHeight = 3 * kTile;
    auto big = qmtest::ReadPaintDocument(Document(tall));
    auto small = qmtest::ReadPaintDocument(Document(shortHeight));
    ASSERT_TRUE(big && small);
    ASSERT_TRUE(RepaintDocument(big->body));
    ASSERT_TRUE(RepaintDocument(small->body));
    ASSERT_TRUE(ShowDocumentRows(big->body, tall - 600, tall));
    ASSERT_TRUE(ShowDocumentRows(small->body, shortHeight - 600, shortHeight));
    EXPECT_LE(ResidentBitmapBytes(big->body), 64LL << 20);
    int differ = 0;
    for (int row = -500; row < 0; ++row) {
        for (int x = 0; x < 60; ++x) {
            const qm::cg::Pixel a = big->body->m_dc->ReadPixel(x, tall + row);
            const qm::cg::Pixel b = small->body->m_dc->ReadPixel(x, shortHeight + row);
            differ += a.red != b.red || a.green != b.green || a.blue != b.blue || a.alpha != b.alpha;
        }
    }
    EXPECT_EQ(0, differ);
    EXPECT_EQ(255, small->body->m_dc->ReadPixel(1, shortHeight - 100).red) << "the box's left side";
}
