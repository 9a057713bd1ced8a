#pragma once
// What a text run measures with: its style and the layout set in it, made
// together in one block, so a run's layout costs one allocation and the two
// move as one (the layout refers to the style). Members go in reverse: the
// layout is destroyed before the style it refers to.

#include "elements/TextElement.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"

struct CTextElement::RunText
{
    qm::text::Style style;
    qm::text::Layout layout;
};
