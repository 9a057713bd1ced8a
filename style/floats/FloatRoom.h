#pragma once
// The room floats take around a child of parent whose box, in document
// coordinates, is box: what CElement::CalcValidPosition answers for a child
// at a position, for a box the caller gives (a line about to be laid out,
// before the child has a size).

class CElement;
class CPoint;
class CPtrList;
class CRect;
struct CalcInfo;

bool FloatRoom(CElement* parent, CElement* child, const CRect& box, CPoint& leftRoom, CPoint& rightRoom,
    CPtrList* rightFloats, bool sameBlockOnly, CalcInfo* info);
