#pragma once
// The screen's horizontal resolution that CSS lengths convert by. It is
// 72 pixels per inch, so a point (1/72 inch) is one pixel and a text size in
// points is the same number of pixels.

constexpr int kScreenPixelsPerInch = 72;
