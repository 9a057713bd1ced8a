#pragma once
// SUBDOC_INFO: one sub-document definition received from the sub-document
// service: the custom element it is for, the attribute that identifies the
// content and up to ten attributes whose values go with a request. The
// document keeps a chain of them (CXDoc::m_subDocInfo) and frees it with
// CXDoc::ReleaseSubDocInfo. The texts are growable: a long name is kept
// whole, never cut at a fixed width.

#include "base/text/SafeBuf.h"

struct SUBDOC_INFO
{
    static constexpr int kOptionCount = 10;

    CSafeBuf elementName; // the tag of the custom elements it is for
    CSafeBuf idAttribute; // the attribute that names the content
    CSafeBuf optionAttributes[kOptionCount];
    SUBDOC_INFO* next = nullptr;
};
