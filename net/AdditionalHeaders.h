#pragma once
// ADDITIONAL_HTTP_HEADERS: the identifier headers sent with every web request.
//
// The control keeps one record, filled from the page's identifier settings
// (DocumentID, UserID, ...), its user agent, language and cookie, and hands it
// to every request. Each field is a zero-terminated UTF-16 array of fixed
// capacity (terminator included); a header goes out only when its field is
// not empty, under the name the field table below gives it, in field order.
//
// Fields are written only through SetHeaderField, which cuts the text to the
// field (never splitting a surrogate pair) so that no value can run past its
// array.

#include <cstddef>

struct ADDITIONAL_HTTP_HEADERS
{
    unsigned short DocumentID[201];
    unsigned short UserID[201];
    unsigned short SessionID[201];
    unsigned short TransactionID[201];
    unsigned short ClientID[201];
    unsigned short InstanceID[201];
    unsigned short TagID[201];
    unsigned short UserAgent[401];
    unsigned short Language[100];
    unsigned short Cookie[8192];
    unsigned short ZoneID[201];
    unsigned short ProjectID[201];
    unsigned short AreaID[201];
    unsigned short GroupID[201];
    unsigned short ParentID[201];
    unsigned short ContainerID[201];
    unsigned short ObjectID[201];
    unsigned short TagList[8192];
};

// Empties every field.
void ClearAdditionalHeaders(ADDITIONAL_HTTP_HEADERS* headers);

// Copies at most capacity - 1 units of text (fewer when the cut would split a
// surrogate pair) and a terminator into field. Null text empties the field.
// Answers the number of units copied.
int SetHeaderField(unsigned short* field, std::size_t capacity, const unsigned short* text);

template <std::size_t N>
int SetHeaderField(unsigned short (&field)[N], const unsigned short* text)
{
    return SetHeaderField(field, N, text);
}

// The fields in order, with their request header names ("X-Document-ID" ...).
// Number of fields (18) and the header name of field i ("" outside the range).
int AdditionalHeaderCount();
const char* AdditionalHeaderName(int i);
// The text of field i of the record (null outside the range or for a null record).
const unsigned short* AdditionalHeaderValue(const ADDITIONAL_HTTP_HEADERS* headers, int i);
