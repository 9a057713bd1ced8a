#pragma once
// Where the XML layer's parses may read from besides the text they are given.
//
// External entities, external DTD subsets, and the documents and style
// sheets a transform loads (document(), xsl:import, xsl:include) are read
// only when the system XML catalog resolves them to a local file, or when
// they name a file inside the resources folder (after symbolic links are
// followed). Any other file, and anything on the network, resolves to
// nothing: an empty entity, an empty DTD, no document. So a document can
// still use the entities of a DTD the catalog knows (the XHTML entities where
// the system's catalog holds the XHTML DTDs) and never reads a local file of
// its choosing.
//
// The rule is libxml2's external entity loader, which is process-wide: it
// also governs a parse that libxml2 starts by opening a file by name. So the
// layer reads the files it is asked to parse itself and parses their bytes.

// Installs the loader (the first call; later calls do nothing). Every parse
// and transform of the layer calls it first.
void XmlInstallEntityLoader();

// Whether a path or a "file:" URL (UTF-8, escapes allowed in a URL) names an
// existing file inside the resources folder.
bool XmlIsResourceFile(const char* pathOrUrl);
