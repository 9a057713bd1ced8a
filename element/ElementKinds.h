#pragma once
// Element kind codes. Every element carries one (CElement::m_kind); the whole
// system tests kinds by these numbers. The factory stores the final code
// after construction (some kind classes construct with a provisional one).

constexpr long kKindBody = 1;
constexpr long kKindA = 3;
constexpr long kKindSpan = 4;
constexpr long kKindText = 5; // a run of text (empty tag name)
constexpr long kKindBr = 6;
constexpr long kKindImg = 7;
constexpr long kKindP = 8;
constexpr long kKindDiv = 9;
constexpr long kKindHr = 10;
constexpr long kKindTable = 11;
constexpr long kKindColgroup = 12;
constexpr long kKindCol = 13;
constexpr long kKindTr = 14;
constexpr long kKindTd = 15;
constexpr long kKindTh = 16;
constexpr long kKindTbody = 17;
constexpr long kKindThead = 18;
constexpr long kKindTfoot = 19;
constexpr long kKindCaption = 20;
constexpr long kKindCenter = 21;
constexpr long kKindUl = 24;
constexpr long kKindOl = 25;
constexpr long kKindLi = 26;
constexpr long kKindStrong = 27;
constexpr long kKindEm = 28;
constexpr long kKindB = 29; // b, small and big
constexpr long kKindI = 30;
constexpr long kKindSub = 32;
constexpr long kKindSup = 33;
constexpr long kKindH1 = 36; // h1 to h6: 36 to 41
constexpr long kKindH6 = 41;
constexpr long kKindAddress = 42;
constexpr long kKindBlockquote = 44;
constexpr long kKindScript = 45;
constexpr long kKindNoscript = 46;
constexpr long kKindAbbr = 47; // abbr, acronym, cite, code, dfn, kbd, samp, var: 47 to 54
constexpr long kKindVar = 54;
constexpr long kKindBdo = 55;
constexpr long kKindDl = 56;
constexpr long kKindDd = 57;
constexpr long kKindDt = 58;
constexpr long kKindQuoteConstructed = 59; // what the quotation class stores before the factory
constexpr long kKindQ = 60;
constexpr long kKindMap = 61;
constexpr long kKindObject = 62;
constexpr long kKindForm = 63;
constexpr long kKindFieldset = 64;
constexpr long kKindFormControl = 65; // input, textarea, select, option, optgroup, button
constexpr long kKindCustom = 66;      // any other tag
constexpr long kKindComment = 68;     // tag name "_comment_"
constexpr long kKindPre = 69;

inline bool IsHeadingKind(long kind) { return kind >= kKindH1 && kind <= kKindH6; }
// The blocks that hold text and inline content only: p, headings, address
// and pre.
inline bool IsTextBlockKind(long kind)
{
    return kind == kKindP || IsHeadingKind(kind) || kind == kKindAddress || kind == kKindPre;
}
inline bool IsRowGroupKind(long kind) { return kind >= kKindTbody && kind <= kKindTfoot; }
inline bool IsCellKind(long kind) { return kind == kKindTd || kind == kKindTh; }
inline bool IsListKind(long kind) { return kind == kKindUl || kind == kKindOl; }
