#pragma once
// Tests and copies on the untyped style cells (NewIntStyleValue,
// NewStringStyleValue) that inheritance uses; the typed cells are filled with
// SetStyleType and SetStyleInherit (style/records/StyleRecords.h). Null cells
// are allowed: nothing is copied and the tests answer false.

#include "style/records/StyleType.h"

// Copies from into to when from is set and to is not set, or is set only as
// inherited; the copy is marked set and inherited. Answers whether it copied.
bool CopyStyleForNew(NewIntStyleValue* to, const NewIntStyleValue* from);
bool CopyStyleForNew(NewStringStyleValue* to, const NewStringStyleValue* from);

// The cell is set and holds value.
bool CompareStyle(const NewIntStyleValue* cell, long value);
// The cell is set (and, with nonEmpty, its text is not empty).
bool IsStyleValid(const NewIntStyleValue* cell);
bool IsStyleValid(const NewStringStyleValue* cell, bool nonEmpty);
