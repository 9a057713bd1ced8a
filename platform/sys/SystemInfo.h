#pragma once
// Facts about the machine the process runs on.

#include <string>

namespace qm::sys {

// The operating system's release text (e.g. "6.1.0"); empty when unknown.
std::string SystemVersion();

// The release packed into one word: major version in the high byte, minor in
// the high nibble and patch level in the low nibble of the low byte (each
// clamped to what its field can hold).
unsigned SystemVersionWord();

// The machine's network name; empty when unknown.
std::string MachineName();

// The name of the local time zone (e.g. "Europe/Berlin"), "UTC" when unknown.
std::string TimeZoneName();

// The identifier of the calling thread.
unsigned long CurrentThreadId();

} // namespace qm::sys
