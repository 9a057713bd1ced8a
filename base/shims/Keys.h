#pragma once
// Key state and key tests with Windows-style names.

#include "base/shims/WinTypes.h"

// Key codes GetKeyState understands: the modifier keys.
constexpr unsigned short kKeyCommand = 1;
constexpr unsigned short kKeyShift = 2;
constexpr unsigned short kKeyOption = 4;
constexpr unsigned short kKeyControl = 8;
constexpr unsigned short kKeyControlToo = 16;

// 0x8080 (a negative SHORT, with the low byte's sign bit set as well) while
// the modifier is held, according to the input state the host last reported;
// 0 when it is up and for every other key code.
SHORT GetKeyState(unsigned short key);

// True when a equals b; the third argument plays no part.
bool IsExtKey(int a, unsigned int b, unsigned int);

// True for codes from 32 upward, except 127.
bool IsValidChar(int c);
