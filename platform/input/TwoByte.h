#pragma once
// Decoding the two-byte characters that a browser hands over one byte per
// key event: Mac Simplified Chinese (GB 2312 in its EUC form) and Mac
// Japanese (Shift_JIS), through iconv.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::input {

// The whole byte run in that encoding as UTF-16; false (out emptied) when any
// byte sequence is not valid in it or the converter is missing.
bool DecodeSimplifiedChinese(const std::uint8_t* bytes, std::size_t count, std::u16string& out);
bool DecodeJapanese(const std::uint8_t* bytes, std::size_t count, std::u16string& out);

// One character from a lead and a trail byte: as Simplified Chinese when the
// lead byte is above 160, else (or when that fails) as Japanese. The first
// UTF-16 unit of the result; false when neither decodes.
bool DecodeTwoByteCharacter(std::uint8_t lead, std::uint8_t trail, char16_t& out);

} // namespace qm::input
