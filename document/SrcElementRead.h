#pragma once
// What the two readers of parsed markup into a CSrcElement tree share: the
// one that walks the parser's document tree (CSrcElement::Read) and the one
// that takes the parser's events as they come (SrcElementStream.cpp).

#include "base/text/SafeBuf.h"
#include "document/SrcElementTags.h"

#include <libxml/tree.h>

#include <cstdint>

// Buffers one read shares between all its nodes, and what it has learnt of
// the element names it met. The parser keeps one copy of each name, so a
// name's address stands for the name within one document.
struct SrcReadBuffers
{
    CSafeBuf name;
    CSafeBuf part;
    CSafeBuf value;

    struct KnownName
    {
        const xmlChar* name = nullptr; // a name without a prefix
        const SrcTagInfo* info = nullptr;
    };
    KnownName known[64];

    KnownName& Slot(const xmlChar* name)
    {
        // The parser packs its names a few bytes apart: the address is mixed
        // so that neighbours take different slots (64, the top 6 bits).
        const uint64_t mixed
            = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(name)) * 0x9E3779B97F4A7C15ull;
        static_assert(sizeof known / sizeof known[0] == 64, "six bits pick a slot");
        return known[mixed >> 58];
    }
};

// Prefix ":" local name, or the local name (no prefix), into buffers.name.
void SrcQualifiedName(const xmlChar* prefix, const xmlChar* local, SrcReadBuffers& buffers);
// " xmlns" or " xmlns:prefix", "=" and the quoted, escaped namespace URI.
void SrcAppendNamespaceDeclaration(CSafeBuf& out, const xmlNs* ns);
// " name=" and the quoted, escaped value.
void SrcAppendAttribute(CSafeBuf& out, const CSafeBuf& name, const CSafeBuf& value);
