#pragma once
// A listing of the computed styles of a tree, for the style tool and tests:
// one line per element in document order, its indexed tag path from the
// root ("/body[1]/div[2]/p[1]"; a text run as "text()[n]" below its parent),
// a blank and its style's set slots (style/records/StyleDump.h; the path
// alone when nothing is set), each line ended by "\n".
//
// With kStyleReportCarried the line goes on with " |" and the values the
// element carries for drawing text whether its style sets them or took them
// from its parent: its colour, font size, weight, style and family.

class CElement;
class CSafeBuf;

// An option of ReportStyles beside those of DumpStyle.
constexpr int kStyleReportCarried = 0x100;

// Appends the lines of root's subtree to out; options as for DumpStyle, and
// kStyleReportCarried.
void ReportStyles(const CElement* root, CSafeBuf& out, int options);
