#pragma once
// The layout context handed along by the layout operations. A full layout
// passes none. The base operations hand it on unchanged; CalcValidPosition
// reads its flag.

struct CalcInfo
{
    // Floats count for a child only when the child reaches their common
    // ancestor without passing a table part, a cell, a list or more than one
    // block level.
    unsigned char nearFloatsOnly = 0;
};
