#pragma once
// Selector specificity, summed over every step and condition of a selector:
//   id                                       0x10000
//   attribute test, :lang(), :first-child    0x100 each
//   class names                              0x100 for each name
//   type name, first-line, first-letter,
//   before, after                            1 each
//   universal, combinators, ::selection      0
// So "h1" is 1 and "p.note" 257. The sum stops at the largest 32-bit value
// instead of wrapping round.

#include <cstdint>

struct SELECTOR_STATEMENT;
struct STYLE_CLASS;

std::uint32_t CalcSelect(const SELECTOR_STATEMENT* statement);

// Sets the specificity of every selector of the rule and resets the rule's
// precedence to 0.
void CalcSelectPrecedence(STYLE_CLASS* rule);
