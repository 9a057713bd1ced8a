// Members of the insertion and tag-list work that the control calls; each
// does nothing (answers that nothing was done) until its own code arrives.

#include "editor/XHTML.h"

bool CXHTML::GetTagList(CSafeBuf& out, int)
{
    out.Empty();
    return true;
}
