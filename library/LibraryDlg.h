#pragma once
// CLibraryDlg: the resource library browser, as far as the rest of the
// editor needs it so far. The browser's requests to the library and
// directory services carry the tag list of the element they are made for:
// before each request the dialog puts that text into the tag-list field of
// the control's identifier header record, which every request then sends as
// "X-TagList" (net/AdditionalHeaders.h).

struct ADDITIONAL_HTTP_HEADERS;

class CLibraryDlg
{
public:
    // headers: the control's record, which outlives the dialog (may be null).
    explicit CLibraryDlg(ADDITIONAL_HTTP_HEADERS* headers) : m_headers(headers) { }

    // The tag-list text of the requests made from now on, cut to the field
    // (8191 units, a surrogate pair never split); null empties it.
    void SetTagList(const unsigned short* tagList);

private:
    ADDITIONAL_HTTP_HEADERS* m_headers;
};
