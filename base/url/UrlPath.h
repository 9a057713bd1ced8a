#pragma once
// Address and path utilities on UTF-16 text, in place: percent-encoding and
// decoding, query parameters, turning file addresses into local paths,
// joining folders, addresses and names, and splitting file names. '/' and
// '\' both count as path separators where a function says so; comparisons
// are exact unless stated otherwise.

#include "base/text/SafeBuf.h"

// ASCII letters, digits and . / \ - _ stay; every other character becomes
// the escapes ("%XX", upper-case hex digits) of its UTF-8 bytes: " " "%20",
// U+00E9 "%C3%A9", U+20AC "%E2%82%AC", a surrogate pair four escapes. A lone
// surrogate, which UTF-8 cannot carry, gets the escapes of its three-byte
// form, so that it too reads back.
void EncodeURL(CSafeBuf& text);

// "%" and two hex digits (either case) stand for one byte. Consecutive escaped
// bytes that form UTF-8 become that character (a surrogate's three-byte form
// becomes that unit); every other escaped byte becomes the character of that
// code (0-255). Anything else, "+" and a "%" without two hex digits after it
// included, is copied unchanged. DecodeURL(EncodeURL(t)) == t for every text.
void DecodeURL(CSafeBuf& text);

// Appends "?" (or "&" when the address already holds a "?"), the encoded
// name, "=" and the encoded value. Null name or value count as empty.
void AddParamsToURL(CSafeBuf& url, const unsigned short* name, const unsigned short* value);

// Turns a file address into a local path; the one rule for every caller
// that takes a "file://" location. A leading "file://" (ASCII case ignored)
// is removed, then a "localhost" host (any case); a path that starts with a
// drive letter ("/C:/..." or, in the old notation, "/C|/...") loses the
// slashes in front of it and has ":" after the letter. Escapes are not
// decoded. Text that is no file address is left as it is.
void ParseLocalURL(CSafeBuf& url);

// Removes one trailing "/" of a non-empty address; an address starting with
// "file://localhost" (any case) has its escapes decoded and becomes a local
// path (ParseLocalURL).
void CheckForLocalFile(CSafeBuf& url);

// Makes url absolute against base: nothing when base is empty; an empty url
// becomes base; a url holding ":" stays; otherwise base, a "/" when neither
// side has a separator at the joint, and url.
void AddBaseURL(CSafeBuf& url, CSafeBuf base);

// Appends name to path with exactly one separator at the joint (a separator
// on both sides is reduced to the name's; "/" is added when neither has one).
// Nothing when name is empty; an empty path becomes name.
void CombinePathURL(CSafeBuf& path, const unsigned short* name);

// Appends "/" to a non-empty path that does not end with "/". The flag plays
// no part.
void ValidatePath(CSafeBuf& path, bool flag = false);

// Splits a path at its last "/" or "\": folder receives everything up to and
// including the separator, name the rest. A path ending in a separator is all
// folder; a path without one is all name. Outputs given as null are skipped;
// the others are cleared first.
void ParseFilename(CSafeBuf path, CSafeBuf* folder, CSafeBuf* name);

// The characters after the last "." of the path's last component, case
// unchanged; empty when that component has no ".".
void ParseFilenameExt(CSafeBuf path, CSafeBuf& ext);
