#pragma once
// Keeping paragraphs flat after an edit: a p, dt or heading may not hold
// blocks.

class CElement;

// For e a p, dt or heading: every block child is dissolved (its children
// take its place), repeatedly, until no block child remains; the subtree is
// then restyled. Answers whether anything was dissolved; false for null e
// and for other kinds.
bool ValidateTree(CElement* e);
