#pragma once
// Whether any style of this process has been given a text-transform. The
// property's parser is the only way in (every style that holds one was
// copied or merged from one it gave), so until it has read one no element's
// style holds one and a text run need not look through its ancestors for it.

// Notes that a text-transform value was read into a style.
void NoteTextTransformRead();
// Whether one ever was.
bool TextTransformRead();
