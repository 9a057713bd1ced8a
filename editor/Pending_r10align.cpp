// Stand-ins for members of other work that the structural commands call.

#include "editor/XHTML.h"

bool CXHTML::InsertXMLToDiv(const unsigned short*) { return false; }
bool CXHTML::InsertXMLToDiv(const char*) { return false; }
