#pragma once
// The default presentation of a tag, given to every element the factory
// makes.

class CElement;

// Gives e the tag's default presentation. The cascade that fills these in
// is not built yet: for now they leave e's style as it is.
void SetDefaultStyle(const unsigned short* tag, CElement* e);
void SetDefaultStyle(const char* tag, CElement* e);
