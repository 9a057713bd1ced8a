#pragma once
// What ResetStyle and CopyFromParent(parent, 1) do to an element outside its
// style record. A text run's restyle that takes an earlier run's result
// record in place of recomputing it does these to stay what the full
// restyle would leave.

class CElement;

// The part of CElement::ResetStyle after the record is reset: the cascade
// scratch emptied, UpdateExtraAttrs, the box size emptied with clearBox.
void ResetOutsideRecord(CElement* e, bool clearBox);

// The parts of CElement::CopyFromParent(parent, 1) outside the record for an
// element whose CalcForAll writes only its record (a text run): the forced
// direction, the owner, the link state and the available area.
void InheritOutsideRecord(CElement* e, CElement* parent);
