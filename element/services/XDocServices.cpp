// The document's services: construction and destruction of the fields, where
// the types the smart pointers own are complete.

#include "element/services/XDocServices.h"

#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/cascade/RuleIndex.h"
#include "style/paint/PaintState.h"

CXDocServices::CXDocServices() = default;

CXDocServices::~CXDocServices() = default;
