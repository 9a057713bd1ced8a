#pragma once
// The English texts the engine shows when the language table cannot give a
// key's text (no table is loaded and no fallback holds the key). They are
// the same sentences as the bundled English texts (resources/en.htm).

#include "base/text/SafeBuf.h"

class CLangString;

// The English text of key ("message-box/..."), null when there is none.
const char* EnglishText(const char* key);

// The text of key from table (null: none), its default the English text of
// the key, else fallback.
CSafeBuf EngineText(const CLangString* table, const char* key, const char* fallback = "");
