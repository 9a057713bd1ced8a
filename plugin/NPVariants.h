#pragma once
// Text crossing between the control (UTF-16) and the browser's variants
// (UTF-8 bytes with a byte length). A string handed to the browser lies in
// a block from the browser's memory allocation, zero-terminated, so that
// the browser frees it when it releases the variant.

#include "base/text/SafeBuf.h"
#include "platform/np/Runtime.h"

// text becomes the decoded string: empty for a null string or a length of
// 0; malformed bytes are dropped (base/text/Utf.h).
void GetStringFromNPString(const NPString& string, CSafeBuf& text);

// The variant becomes a string of length units of text (-1: up to the
// terminating zero; 0, or a null text, gives the empty string), encoded as
// UTF-8. When the text cannot be encoded or the browser gives no memory the
// variant is left as it was and the answer is false.
bool SetStringToNPVariant(const unsigned short* text, int length, NPVariant* variant);
// The same for a whole zero-terminated text; with freeText the text, an
// array made with new[], is deleted afterwards whatever the outcome.
bool SetStringToNPVariant(unsigned short* text, NPVariant* variant, bool freeText);
// The empty string: a 1-byte block holding a zero, length 0.
bool CreateEmptyStringNPVariant(NPVariant* variant);

// ---- what page script hands the control ----
// text becomes the name of a string identifier, decoded from its UTF-8
// form (the browser's copy is freed through its memfree); empty for an
// integer identifier or without a browser.
void GetStringFromName(NPIdentifier name, CSafeBuf& text);
// number 0 and text empty first; then a boolean gives number 0 or 1, an
// integer its value, a string its decoded text. Void, null, doubles and
// objects leave both empty.
void GetValueFromNPVariant(const NPVariant* variant, CSafeBuf& text, int& number);
void SetBoolToNPVaraint(bool value, NPVariant* variant);
void SetIntToNPVaraint(int value, NPVariant* variant);
