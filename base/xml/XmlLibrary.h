#pragma once
// The XML and XSLT libraries' process-wide state.
//
// XmlStartLibraries checks that the libxml2 the process loaded suits the
// headers the code was built with and sets up its parser; it may be called
// any number of times. XmlCleanupLibraries releases what the libraries keep
// for the whole process (libxslt's globals, the parser's tables, the loaded
// catalogs): it is for the moment nothing uses them any more, such as a
// plug-in module being shut down, and the libraries set that state up again
// when they are next used. The layer's entity loader (XmlEntityLoader.h) and
// the transforms' security policy are process-wide settings that the
// clean-up leaves in force.

void XmlStartLibraries();
void XmlCleanupLibraries();
