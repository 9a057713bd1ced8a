// A document whose bundle lacks its pictures. The resources folder is found
// once a process, so this program has only this test: it points the bundle
// at an empty folder before anything looks for it.

#include "document/XDoc.h"

#include "base/files/BundleResources.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

TEST(XDocPictures, MissingBundlePicturesLeaveThemEmpty)
{
    qmtest::TempDir empty;
    ASSERT_TRUE(empty.Create(qmtest::TestOutputPath("no-resources-")));
    qmtest::ScopedEnv resources("QM_RESOURCES_DIR", empty.Path().c_str());
    CSafeBuf folder;
    GetResourcePath(folder, nullptr);
    ASSERT_EQ(std::string(folder.GetAnsiBuffer()), empty.Path()) << "the folder was looked for earlier";

    CXDoc doc;
    EXPECT_EQ(doc.m_dragImage.GetWidth(), 0);
    EXPECT_EQ(doc.m_dragImage.GetHeight(), 0);
    EXPECT_EQ(doc.m_markerImage.GetWidth(), 0);
    EXPECT_EQ(doc.m_markerImageWidth, 0);
    EXPECT_EQ(doc.m_markerImageHeight, 0);
    // The rest of the document is made as usual.
    EXPECT_EQ(doc.m_caretHeight, 16);
    EXPECT_NE(doc.m_cursors.hand, nullptr);
}
