#pragma once
// Letter case for comparing text without regard to case, as a find does: a
// unit is folded to the one form that all its cases share (mostly the small
// letter), so that two units are the same letter in any case when their
// folds are equal. The fold is Unicode's simple one-unit case folding for
// the letters of Latin (Basic Latin, Latin-1, Latin Extended-A and -B, the
// IPA letters, Latin Extended Additional), Greek and Cyrillic; every other
// unit is its own fold. Folds that need more than one unit ("ß" to "ss")
// are not made, so "ß" matches only itself and "ẞ".

// The unit's case fold; the unit itself when it has none.
unsigned short FoldLetterCase(unsigned short unit);
