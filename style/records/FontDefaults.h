#pragma once
// Process-wide values read by the CSS code and layout.

#include "style/values/ScreenResolution.h"

// The base font size in pixels; F + 3 is the paragraph spacing.
constexpr int kBaseFontSize = 16;
// The screen's horizontal resolution, kScreenPixelsPerInch: CSS pt, pc, in,
// cm and mm convert at it.
// The default font number (the family "Times New Roman"); every element's
// style starts with it.
constexpr long enfontind = 0;
// The default font family name.
inline constexpr char kDefaultFontFamily[] = "Times New Roman";
