#pragma once
// Keeping the layout of a block whose content and surroundings did not
// change since it was last laid out.
//
// A pass over the whole document lays out every child of the root again,
// though most kept their width, content and floats. A child of the root that
// lays out as a block may instead keep its records and only be placed (its
// parent's line layout still gives it its area, position and margins) when:
//
// - the pass began at the root (so the floats placed so far are all that
//   count) and the body did not change its own style or attributes;
// - no element of the subtree carries a change mark (CElementFields::
//   m_layoutChanges: tree primitives, style edits, restyling, attribute
//   setters) and their texts count the changes and hold the elements they
//   held after the last layout;
// - it is given the same area (width, height and container) as then;
// - the subtree holds only kinds whose layout depends on nothing outside
//   it (no floats, tables, images, objects, form controls or unknown
//   tags), and no float placed so far in the pass meets its rows now, as
//   none did when it was last laid out.
//
// Anything else lays the child out as before.

#include "base/geometry/Rect.h"

class CElement;

// Whether child, just given its area by its parent (availBefore and
// containerBefore: its available and container rectangles before), keeps
// the records of its last layout.
bool KeepsLastLayout(CElement* child, const CRect& availBefore, const CRect& containerBefore);
// After child was laid out whole: notes what KeepsLastLayout compares and
// clears the change marks of its subtree.
void NoteLaidOut(CElement* child);

// Marks every element of root's tree changed, so that the next pass lays
// out all of it as if for the first time.
void ForgetKeptLayouts(CElement* root);
// The blocks that kept their layout so far in the process.
unsigned long KeptLayoutCount();
