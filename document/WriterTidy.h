#pragma once
// The passes of the writer's tidy pass (CXDoc::ProcessSourceOutput) over a
// markup tree read from the element writer's output: empty inline elements
// go, anchors without attributes are unwrapped, line breaks move into the
// inline elements beside them, neighbours that are alike are merged, and
// loose inline content goes into paragraphs.
//
// Merging runs again while it reports a change, since one merge can make
// the merged element's children alike; a merge that reported a change
// without reaching a fixed point would otherwise never stop, so the rounds
// are capped. After a merge that changed something the line breaks move
// again: white space merged into an inline element puts a break right
// after it, which the next write would move in, so the text written would
// not be what writing it again gives.
//
// A template over the tree type so that a test can give it a tree whose
// merging never settles; the document uses it with CSrcElement.

constexpr int kCombineRoundLimit = 1000;

// Runs the passes over root in their order. Answers how many times merging
// (CombineTag) ran: at most kCombineRoundLimit.
template <class Tree>
int RunWriterTidyPasses(Tree& root)
{
    root.RemoveEmptyTag(1);
    root.RemoveTagWithoutAttr(0);
    root.MoveBrInside();
    int rounds = 0;
    while (rounds < kCombineRoundLimit) {
        ++rounds;
        if (!root.CombineTag())
            break;
        if (rounds < kCombineRoundLimit)
            root.MoveBrInside();
    }
    root.FinalClean(false);
    root.ValidateDoc();
    return rounds;
}
