#pragma once
// Right-to-left support: character tests for Hebrew and Arabic and the one
// reordering the editor applies before drawing a run left to right. The
// per-string tests are CSafeBuf members (HasHebrew, IsMixedText ...).

class CSafeBuf;

bool IsCharHebrew(unsigned short ch); // 0x0590-0x05FF
bool IsCharArabic(unsigned short ch); // 0x0600-0x06FF, 0xFB50-0xFDFF, 0xFE70-0xFEFF

// Reorders text in place for drawing left to right.
// wholeLine false: each run of Hebrew/Arabic units is reversed in place.
// wholeLine true: the whole text is reversed, but each run of Hebrew/Arabic
// units (with the spaces that follow inside it) keeps its order as one block.
void ReserveText(CSafeBuf& text, bool wholeLine);
