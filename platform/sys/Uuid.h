#pragma once
// Universally unique identifiers (random, version 4).

#include <string>

namespace qm::sys {

// A new identifier in its usual text form: 36 characters, upper-case
// hexadecimal digits in groups of 8-4-4-4-12.
std::string NewUuidString();

} // namespace qm::sys
