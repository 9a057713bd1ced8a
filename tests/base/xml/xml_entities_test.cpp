// External entities, DTDs and style-sheet reads reach only the system catalog
// and the resources folder, driven by tests/data/xml_entities/cases.txt.

#include <gtest/gtest.h>
#include <libxml/catalog.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/files/BundleResources.h"
#include "base/files/SystemPath.h"
#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::FromUtf8;
using qmtest::LowBytes;
using qmtest::ToUtf8;

namespace {

const std::string kData = std::string(QM_TEST_DATA_DIR) + "/xml_entities/";
const char* kSecret = "QM-SECRET";

struct Case
{
    std::string name, via, want, markup;
};

std::vector<Case> LoadCases()
{
    std::vector<Case> cases;
    std::istringstream in(qmtest::ReadFile(kData + "cases.txt"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("== ", 0) == 0)
            cases.push_back({line.substr(3), "", "", ""});
        else if (cases.empty() || line.empty() || line[0] == '#')
            continue;
        else if (line.rfind("via: ", 0) == 0)
            cases.back().via = line.substr(5);
        else if (line.rfind("want: ", 0) == 0)
            cases.back().want = line.substr(6);
        else
            cases.back().markup += line + "\n";
    }
    return cases;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Serialised(xmlDoc* doc)
{
    CSafeBuf markup;
    if (doc)
        XMLGetNodeXML(GetRootElement(doc), markup);
    XMLReleaseDom(doc);
    return ToUtf8(markup);
}

const char* kIdentity = "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                        "<xsl:template match='/'><xsl:copy-of select='.'/></xsl:template></xsl:stylesheet>";

// What the entry point makes of the markup; empty when it fails.
std::string Output(const std::string& via, const std::string& markup, const std::string& scratch)
{
    if (via == "load")
        return Serialised(LoadXMLString(FromUtf8(markup)));
    if (via == "file") {
        const std::string path = scratch + "/document.xml";
        EXPECT_TRUE(qmtest::WriteFile(path, markup));
        return Serialised(LoadXMLFile(FromUtf8(path)));
    }
    CSafeBuf xml(via == "sheet" ? FromUtf8("<in/>") : FromUtf8(markup));
    if (!TransformXML(xml, via == "sheet" ? FromUtf8(markup) : FromUtf8(kIdentity)))
        return std::string();
    return LowBytes(xml);
}

} // namespace

TEST(XmlEntities, OnlyTheCatalogAndTheResourcesFolderAreRead)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("xml-entities-")));
    const std::string secretXml = scratch.Path() + "/secret.xml";
    const std::string secretDtd = scratch.Path() + "/secret.dtd";
    ASSERT_TRUE(qmtest::WriteFile(secretXml, std::string("<s>") + kSecret + "</s>"));
    ASSERT_TRUE(qmtest::WriteFile(secretDtd, std::string("<!ENTITY leaked \"") + kSecret + "\">"));
    CSafeBuf resource;
    GetResourcePath(resource, "en.htm");
    ASSERT_TRUE(qmtest::Exists(PathToSystem(resource)));
    ASSERT_EQ(0, xmlLoadCatalog((kData + "catalog.xml").c_str()));

    const std::vector<Case> cases = LoadCases();
    ASSERT_GE(cases.size(), 10u);
    for (Case c : cases) {
        ReplaceAll(c.markup, "@SECRET_XML@", "file://" + secretXml);
        ReplaceAll(c.markup, "@SECRET_DTD@", "file://" + secretDtd);
        ReplaceAll(c.markup, "@SECRET_PATH@", secretXml);
        ReplaceAll(c.markup, "@RESOURCE@", "file://" + PathToSystem(resource));
        std::istringstream vias(c.via);
        std::string via;
        while (vias >> via) {
            const std::string out = Output(via, c.markup, scratch.Path());
            EXPECT_EQ(std::string::npos, out.find(kSecret)) << c.name << " (" << via << "): " << out;
            if (!c.want.empty()) {
                EXPECT_NE(std::string::npos, out.find(c.want)) << c.name << " (" << via << "): " << out;
            }
        }
    }
}

TEST(XmlEntities, LoadXMLFileStillReadsAnyFileAndReportsAMissingOne)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("xml-entities-")));
    const std::string path = scratch.Path() + "/plain.xml";
    ASSERT_TRUE(qmtest::WriteFile(path, "<?xml version='1.0' encoding='ISO-8859-1'?><r>caf\xE9</r>"));
    EXPECT_EQ("<r>caf\xC3\xA9</r>", Serialised(LoadXMLFile(FromUtf8(path))));

    CSafeBuf error;
    EXPECT_EQ(nullptr, LoadXMLFile(FromUtf8(scratch.Path() + "/missing.xml"), &error));
    EXPECT_EQ(0u, ToUtf8(error).rfind("Incorrect XML<br />Reason: ", 0)) << ToUtf8(error);
}
