#pragma once
// The default presentation of a tag, given to every element the factory
// makes and again whenever its style is recomputed:
//
//   strong                               weight 900
//   b                                    weight 700
//   sub, sup / big / small               size 82 / 133 / 80 percent
//   i, cite, dfn, var, address, em       italic
//   code, samp, kbd                      family "courier new"
//   pre                                  family "Courier New", 13 pixels
//   h1 ... h6                            weight 700, 32 24 18 16 13 10 pixels
//   th                                   weight 700, centred both ways
//   td                                   centred vertically
//   caption                              centred, 1-pixel solid grey border
//   fieldset                             the same border, width 100 percent
//   img                                  text colour black
//   bdo                                  right to left
//   ul, ol                               left margin 50; top margin 0 when
//                                        first in the parent, else the
//                                        paragraph spacing (base size + 3);
//                                        bottom margin likewise when last
//
// The values carry no origin, so every other source overrides them; they
// are marked set, so the parent's values do not replace them.

class CElement;
class CTagName;

void SetDefaultStyle(const unsigned short* tag, CElement* e);
// By the class the name keeps (DefaultStyleClass), without comparing the
// tag: the factory gives the name of a known tag, and every restyle the
// element's own.
void SetDefaultStyle(const CTagName& tag, CElement* e);
// The tag's bytes widened by value.
void SetDefaultStyle(const char* tag, CElement* e);

// Which default presentation a tag has (0: none), found once for each tag
// name its table holds (CTagName::DefaultStyleClass).
unsigned char DefaultStyleClass(const unsigned short* tag);
