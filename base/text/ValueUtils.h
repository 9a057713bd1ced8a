#pragma once
// Small functions that turn values into text: the expressions that style
// drop-list definitions may use as attribute values (current date and time,
// random numbers, identifiers), numbers with thousands separators, Roman
// numerals for list markers, random identifiers, and look-ups in string lists.
//
// Dates and times come from the platform's local time (injectable in tests).
// Random values come from one generator for the whole process, seeded once,
// so values drawn in quick succession differ.

#include "base/text/SafeBuf.h"

class CStringList;
class CPoint;

// Evaluates one expression, compared without regard to ASCII case:
//   "now()"          "YYYY-MM-DDThh:mm:ss"
//   "date()"         "YYYY-MM-DD"
//   "time()"         "hh:mm:ss"
//   "year()"         four digits
//   "month()"        1 to 12
//   "day()"          day of the month
//   "day-of-year()"  counted from 0 (1 January is 0)
//   "weekday()"      1 Sunday to 7 Saturday
//   "week()"         day-of-year / 7 + 1
//   "random()"       a non-negative pseudo-random number
//   "id()"           RandomString(8)
//   "guid()"         a new UUID, 36 characters in groups 8-4-4-4-12
// Any other text (null counts as empty) is copied to value unchanged.
void CalculateValue(const unsigned short* expression, CSafeBuf& value);

// length characters from 'a'-'z' and '0'-'9', the first always a letter.
// Empty for length < 1.
CSafeBuf RandomString(int length);

// The number with "," between groups of three digits ("1,200,000"); a
// negative number keeps its sign in front ("-1,000").
void GetFormatInt(long n, CSafeBuf& text);

// The number in decimal.
void FormatStringInt(CSafeBuf& text, long n);

// Upper-case Roman numeral for 1 to 3999 (1994 gives "MCMXCIV"). 0 and
// negative numbers give empty text; numbers from 4000 up, which have no
// numeral in the usual letters, are written in decimal.
void ConvertNumberToRoman(int n, CSafeBuf& text);

// Index of the first item equal to text, or -1 (also for a null list or
// text). With normalise both sides are upper-cased and trimmed of space,
// TAB, CR and LF before comparing; without it the comparison is exact.
int FindIndexInList(CStringList* list, const unsigned short* text, bool normalise);
// The same with 8-bit text widened byte by byte.
int FindIndexInList(CStringList* list, const char* text, bool normalise);

// The item at index, trimmed of white space at both ends. False and empty
// value for a null list or an index outside the list.
bool GetValueInListByIndex(CStringList* list, int index, CSafeBuf& value);

// Sets both coordinates to 0.
void ClearPoint(CPoint& point);
