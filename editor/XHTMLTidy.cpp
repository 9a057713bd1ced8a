// Markup repair through HTML Tidy (CXHTML::ValidateXML) and the folding of
// line breaks in markup (CXHTML::ConvertCRLFToSpace).
//
// Each repair makes one Tidy document and releases it before it returns;
// options are set by name, since option numbers differ between Tidy
// releases. Tidy reads and writes UTF-8 (char-encoding utf8, with quote-nbsp
// off so that a no-break space comes back as the character): in raw mode it
// would write every character it decodes from a reference as one byte, its
// code cut to the low eight bits ("&#8364;" as 0xAC), which no UTF-8 reading
// can give back.
//
// Tidy's memory comes from an allocator of our own that keeps every block it
// hands out in a list: some inputs make Tidy lose blocks ("<?xml v" does),
// and whatever is left when the document is released is freed with it. When
// an allocation fails Tidy calls the allocator's panic, which must not
// return; it jumps back out of Tidy, whose blocks are then all freed, and
// the repair answers that Tidy wrote nothing.
//
// Tidy builds its tree and writes it recursively, a few hundred bytes of
// stack a level, so markup nested a hundred thousand deep would overflow the
// thread's stack. Tidy therefore runs on a thread of its own whose stack is
// sized by the number of start tags of its input (every level of the tree
// comes from one, or from an element Tidy adds around one), and the caller
// waits for it. Markup nested deeper than a document may nest, by a wide
// margin, is not handed to Tidy at all: its repair could not load, and its
// tree would take Tidy's recursion as deep as the markup goes.

#include "editor/XHTML.h"

#include "base/text/SafeBuf.h"
#include "base/text/XmlChars.h"
#include "base/xml/HtmlDepth.h"
#include "editor/TidyMarkup.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <pthread.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace {

// Stack for one start tag of the input: four times the most a level of
// Tidy's parse, clean-up and printing was seen to take, with the elements it
// adds around misplaced ones (table cells in list items) counted in.
constexpr size_t kStackPerTag = 2048;
constexpr size_t kStackBase = 1 << 20;
// Larger inputs (half a million start tags) are not handed to Tidy.
constexpr size_t kStackLimit = size_t(1) << 30;
// Nor is markup whose elements nest deeper than this (as an HTML reader
// closes them): four times the depth the document's parser accepts, for the
// elements Tidy adds and the end tags it implies differently.
constexpr size_t kDeepestForTidy = 1024;

// One pass over the text: a search function called from every "<" would
// read the rest of the text each time where a checking library wraps it.
size_t CountStartTags(const char* text)
{
    size_t count = 0;
    for (const char* p = text; *p; ++p) {
        if (*p != '<')
            continue;
        const unsigned char next = static_cast<unsigned char>(p[1]) | 0x20;
        if (next >= 'a' && next <= 'z')
            ++count;
    }
    return count;
}

// ---- Tidy's memory.

struct alignas(alignof(std::max_align_t)) BlockHeader
{
    BlockHeader* prev;
    BlockHeader* next;
    size_t bytes;
};

// What Tidy may hold at once: some inputs of a few dozen bytes send Tidy
// round a loop that allocates without end. Past the budget an allocation
// panics (as Tidy does when memory runs out) and the repair answers that
// Tidy wrote nothing.
constexpr size_t kTidyBudgetBase = size_t(4) << 20;
constexpr size_t kTidyBudgetPerInputByte = 128;

struct TidyMemory
{
    TidyAllocator base; // first: Tidy's allocator pointer is this object's
    BlockHeader blocks{&blocks, &blocks, 0};
    std::jmp_buf panic;
    size_t held = 0;
    size_t budget = kTidyBudgetBase;

    TidyMemory();
    TidyMemory(const TidyMemory&) = delete;
    TidyMemory& operator=(const TidyMemory&) = delete;
    ~TidyMemory() { FreeAll(); }

    void Link(BlockHeader* b)
    {
        b->prev = &blocks;
        b->next = blocks.next;
        blocks.next->prev = b;
        blocks.next = b;
    }
    static void Unlink(BlockHeader* b)
    {
        b->prev->next = b->next;
        b->next->prev = b->prev;
    }
    void FreeAll()
    {
        while (blocks.next != &blocks) {
            BlockHeader* b = blocks.next;
            Unlink(b);
            std::free(b);
        }
    }

    static TidyMemory& Of(TidyAllocator* self) { return *reinterpret_cast<TidyMemory*>(self); }
    static BlockHeader* HeaderOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

    static void* TIDY_CALL Alloc(TidyAllocator* self, size_t bytes)
    {
        TidyMemory& memory = Of(self);
        if (bytes > memory.budget - memory.held)
            Panic(self, nullptr); // Tidy does not check every allocation

        auto* b = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + bytes));
        if (!b)
            return nullptr;
        b->bytes = bytes;
        memory.held += bytes;
        memory.Link(b);
        return b + 1;
    }
    static void* TIDY_CALL Realloc(TidyAllocator* self, void* block, size_t bytes)
    {
        if (!block)
            return Alloc(self, bytes);
        TidyMemory& memory = Of(self);
        BlockHeader* old = HeaderOf(block);
        if (bytes > old->bytes && bytes - old->bytes > memory.budget - memory.held)
            Panic(self, nullptr);
        const size_t was = old->bytes;
        Unlink(old);
        auto* b = static_cast<BlockHeader*>(std::realloc(old, sizeof(BlockHeader) + bytes));
        if (b) {
            memory.held = memory.held - was + bytes;
            b->bytes = bytes;
        }
        memory.Link(b ? b : old);
        return b ? b + 1 : nullptr;
    }
    static void TIDY_CALL Free(TidyAllocator* self, void* block)
    {
        if (!block)
            return;
        BlockHeader* b = HeaderOf(block);
        Of(self).held -= b->bytes;
        Unlink(b);
        std::free(b);
    }
    static void TIDY_CALL Panic(TidyAllocator* self, ctmbstr) { std::longjmp(Of(self).panic, 1); }
};

const TidyAllocatorVtbl kTidyMemoryVtbl
    = {TidyMemory::Alloc, TidyMemory::Realloc, TidyMemory::Free, TidyMemory::Panic};

TidyMemory::TidyMemory() : base{&kTidyMemoryVtbl} { }

// ---- Running Tidy.

struct TidyJob
{
    const char* input = nullptr; // UTF-8, zero-terminated
    bool xmlInput = false;
    bool keepHead = false;
    // A fragment's repair keeps what Tidy moved into the head (KeepHeadParts):
    // its scripts and noscript elements always, and for a value (keepHead)
    // its server sections and style elements too.
    bool fragment = false;
    bool valueFragment = false;
    std::string output;         // what Tidy wrote
    std::string head;           // the repaired head element, when keepHead asked for it
    std::string bodyAttributes; // the body's attributes as written in its start tag, with keepHead
    std::string headScripts;    // the head's parts kept before the content
    std::string headStyles;     // the head's style elements
};

bool SetOption(TidyDoc doc, const char* name, const char* value)
{
    return tidyOptParseValue(doc, name, value) == yes;
}

void KeepOutput(TidyJob& job, const TidyBuffer& output)
{
    try {
        job.output.assign(reinterpret_cast<const char*>(output.bp), output.size);
    } catch (...) {
        job.output.clear();
    }
}

const std::pair<const char*, const char*> kOptions[] = {{"show-body-only", "yes"}, {"output-xhtml", "yes"},
    {"hide-comments", "yes"}, {"char-encoding", "utf8"}, {"quote-nbsp", "no"}, {"add-xml-decl", "no"},
    {"word-2000", "yes"}, {"drop-empty-paras", "yes"}, {"logical-emphasis", "yes"}, {"tidy-mark", "no"}};

// A head of newer HTML names its encoding as <meta charset="X" />, which
// XHTML 1.0 has no attribute for; the same statement in its XHTML form is
// the content type with that charset.
void RewriteCharsetMeta(std::string& head)
{
    static const char kFrom[] = "<meta charset=\"";
    for (std::size_t at = head.find(kFrom); at != std::string::npos; at = head.find(kFrom, at + 1)) {
        const std::size_t value = at + sizeof kFrom - 1;
        const std::size_t quote = head.find('"', value);
        const std::size_t close = quote == std::string::npos ? quote : head.find('>', quote);
        if (close == std::string::npos)
            return;
        const std::string charset = head.substr(value, quote - value);
        head.replace(at, close + 1 - at,
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\" />");
    }
}

// The head element as Tidy prints it (XHTML, like the body).
void KeepHead(TidyJob& job, TidyDoc doc, TidyBuffer& buffer)
{
    TidyNode head = tidyGetHead(doc);
    if (!head || !tidyNodeGetText(doc, head, &buffer) || !buffer.bp)
        return;
    try {
        job.head.assign(reinterpret_cast<const char*>(buffer.bp), buffer.size);
        RewriteCharsetMeta(job.head);
    } catch (...) {
        job.head.clear();
    }
}

// The body's attributes, each as " name=\"value\"" (Tidy hands values
// decoded), for the body start tag put back around the output: the output
// is the body's content alone, and a page's class or colours on its body
// would be lost.
void KeepBodyAttributes(TidyJob& job, TidyDoc doc)
{
    TidyNode body = tidyGetBody(doc);
    try {
        for (TidyAttr a = body ? tidyAttrFirst(body) : nullptr; a; a = tidyAttrNext(a)) {
            const char* name = tidyAttrName(a);
            const char* value = tidyAttrValue(a);
            if (!name || !*name)
                continue;
            job.bodyAttributes += ' ';
            job.bodyAttributes += name;
            job.bodyAttributes += "=\"";
            for (const char* c = value ? value : ""; *c; ++c) {
                switch (*c) {
                case '&': job.bodyAttributes += "&amp;"; break;
                case '<': job.bodyAttributes += "&lt;"; break;
                case '>': job.bodyAttributes += "&gt;"; break;
                case '"': job.bodyAttributes += "&quot;"; break;
                default: job.bodyAttributes += *c;
                }
            }
            job.bodyAttributes += '"';
        }
    } catch (...) {
        job.bodyAttributes.clear();
    }
}

// Which nodes of the head Tidy made for a fragment the repair keeps. Tidy
// moves a fragment's scripts, noscript elements and server pages' sections
// ("<% %>", "<# #>") that come before its first content, and its style
// elements wherever they stand, into the head, which the output (the body)
// leaves out: their code, the noscript's text and the author's style rules
// would be lost.
enum class HeadPart
{
    BeforeContent, // script and noscript elements
    ServerSections,
    Style,
};

bool IsHeadPart(TidyNode node, HeadPart part)
{
    const TidyNodeType type = tidyNodeGetType(node);
    const TidyTagId id = tidyNodeGetId(node);
    switch (part) {
    case HeadPart::BeforeContent: return id == TidyTag_SCRIPT || id == TidyTag_NOSCRIPT;
    case HeadPart::ServerSections: return type == TidyNode_Asp || type == TidyNode_Jste;
    case HeadPart::Style: return id == TidyTag_STYLE;
    }
    return false;
}

// The nodes under parent that are one of parts, as Tidy prints them, in
// their order, appended to kept.
void KeepParts(TidyDoc doc, TidyNode parent, TidyBuffer& buffer, std::initializer_list<HeadPart> parts,
    std::string& kept)
{
    for (TidyNode node = parent ? tidyGetChild(parent) : nullptr; node; node = tidyGetNext(node)) {
        if (std::none_of(parts.begin(), parts.end(), [&](HeadPart p) { return IsHeadPart(node, p); }))
            continue;
        tidyBufClear(&buffer);
        if (!tidyNodeGetText(doc, node, &buffer) || !buffer.bp)
            continue;
        try {
            kept.append(reinterpret_cast<const char*>(buffer.bp), buffer.size);
        } catch (...) {
            kept.clear();
            return;
        }
    }
}

// The head's parts, into kept. Server sections that stand before anything
// else Tidy leaves in front of the html element: those come first.
void KeepHeadParts(TidyDoc doc, TidyBuffer& buffer, std::initializer_list<HeadPart> parts, std::string& kept)
{
    if (std::find(parts.begin(), parts.end(), HeadPart::ServerSections) != parts.end())
        KeepParts(doc, tidyGetRoot(doc), buffer, {HeadPart::ServerSections}, kept);
    KeepParts(doc, tidyGetHead(doc), buffer, parts, kept);
}

// Tidy drops a control character that XML cannot hold (U+0000 to U+001F
// but TAB, LF and CR) when it stands in the text as it is, but writes one
// that a reference names ("&#1;") as the character: markup that no XML
// reader takes, and U+0000 would end the text read back from the output
// there. Those bytes are dropped as Tidy drops the characters themselves; in
// UTF-8 they are never part of another character.
void DropControlCharacters(std::string& utf8)
{
    utf8.erase(std::remove_if(utf8.begin(), utf8.end(),
                   [](char c) { return !IsXmlTextUnit(static_cast<unsigned char>(c)); }),
        utf8.end());
}

// Tidy reads a "<" that a character beyond ASCII follows as text, as it
// should, but writes U+FFFD before that character ("<\u00E9" comes back as
// "&lt;" U+FFFD U+00E9). Such a "<" written as "&lt;" before Tidy reads it
// gives the same text without the added character. Empty when the input has
// no such "<".
std::string EscapeLessThanBeforeNonAscii(const char* utf8)
{
    std::string out;
    const char* kept = utf8;
    for (const char* s = utf8; *s; ++s) {
        if (s[0] != '<' || static_cast<unsigned char>(s[1]) < 0x80)
            continue;
        out.append(kept, s);
        out += "&lt;";
        kept = s + 1;
    }
    if (!out.empty())
        out += kept;
    return out;
}

// Runs Tidy on job's input and keeps what it wrote. Tidy's messages go to
// an error buffer that nobody reads. No object with a destructor lives in
// this frame: a panic jumps back into it from inside Tidy.
void RunTidy(TidyJob& job, TidyMemory& memory)
{
    if (setjmp(memory.panic) != 0)
        return; // out of memory inside Tidy: memory frees what it had
    TidyDoc doc = tidyCreateWithAllocator(&memory.base);
    TidyBuffer errors;
    TidyBuffer output;
    tidyBufInitWithAllocator(&errors, &memory.base);
    tidyBufInitWithAllocator(&output, &memory.base);

    bool options = !job.xmlInput || SetOption(doc, "input-xml", "yes");
    for (const auto& option : kOptions)
        options = options && SetOption(doc, option.first, option.second);

    // Status: negative a failure, 0 clean, 1 warnings, 2 errors.
    int status = options ? tidySetErrorBuffer(doc, &errors) : -1;
    if (status >= 0)
        status = tidyParseString(doc, job.input);
    if (status >= 0)
        status = tidyCleanAndRepair(doc);
    if (status >= 0)
        status = tidyRunDiagnostics(doc);
    if (status > 1 && !SetOption(doc, "force-output", "yes"))
        status = -1;
    if (status >= 0)
        status = tidySaveBuffer(doc, &output);
    if (status >= 0 && output.bp && output.size > 0)
        KeepOutput(job, output);
    if (status >= 0 && job.keepHead) {
        tidyBufClear(&output);
        KeepHead(job, doc, output);
        KeepBodyAttributes(job, doc);
    }
    // (Server sections only for a value, whose repair that does not load
    // goes to the source view whole; pasted, they leave nothing to paste.)
    if (status >= 0 && job.valueFragment)
        KeepHeadParts(doc, output, {HeadPart::BeforeContent, HeadPart::ServerSections}, job.headScripts);
    else if (status >= 0 && job.fragment)
        KeepHeadParts(doc, output, {HeadPart::BeforeContent}, job.headScripts);
    if (status >= 0 && job.valueFragment)
        KeepHeadParts(doc, output, {HeadPart::Style}, job.headStyles);

    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
}

// Runs Tidy on a thread whose stack its input's nesting cannot overflow.
// False when the input is too large for that or the thread cannot start.
bool RunTidyOnOwnStack(TidyJob& job)
{
    const size_t tags = CountStartTags(job.input);
    if (tags > (kStackLimit - kStackBase) / kStackPerTag)
        return false;
    if (HtmlNestingDepth(job.input, std::strlen(job.input), kDeepestForTidy) > kDeepestForTidy)
        return false;
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return false;
    bool ran = pthread_attr_setstacksize(&attr, kStackBase + tags * kStackPerTag) == 0;
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        TidyJob& job = *static_cast<TidyJob*>(arg);
        TidyMemory memory;
        memory.budget = kTidyBudgetBase + kTidyBudgetPerInputByte * std::strlen(job.input);
        RunTidy(job, memory);
        return nullptr;
    };
    ran = ran && pthread_create(&thread, &attr, run, &job) == 0;
    pthread_attr_destroy(&attr);
    if (ran)
        pthread_join(thread, nullptr);
    return ran;
}

} // namespace

bool CXHTML::ValidateXML(CSafeBuf& markup, const char* source, bool xmlInput, bool keepHead)
{
    try {
        ResolveCharacterReferences(markup);
        // Tidy hides comments, but drops the line end after one with it:
        // they go first, and the white space around them stays.
        if (!source)
            RemoveCommentsOutsideText(markup);
        const bool hasBody = HasBodyStartTag(markup);
        if (xmlInput && !hasBody) {
            markup.Insert(0, "<html><body>");
            markup += "</body></html>";
        }

        // The markup as UTF-8, unless a source is given.
        std::unique_ptr<char[]> utf8;
        if (!source) {
            char* bytes = nullptr;
            markup.CreateUTF8Str(&bytes);
            utf8.reset(bytes);
        }

        TidyJob job;
        job.input = source ? source : utf8 ? utf8.get() : "";
        // (An XML name may begin with such a character: XML is read as it is.)
        const std::string escaped = xmlInput ? std::string() : EscapeLessThanBeforeNonAscii(job.input);
        if (!escaped.empty())
            job.input = escaped.c_str();
        job.xmlInput = xmlInput;
        job.keepHead = keepHead && hasBody && !xmlInput;
        job.fragment = !hasBody && !xmlInput;
        job.valueFragment = keepHead && job.fragment;
        const bool ran = RunTidyOnOwnStack(job);
        for (std::string* part :
            {&job.output, &job.head, &job.headScripts, &job.headStyles, &job.bodyAttributes})
            DropControlCharacters(*part);
        const bool wrote = ran && !(job.output.empty() && job.headScripts.empty() && job.headStyles.empty());
        if (wrote) {
            CSafeBuf result;
            result.AssignUTF8((job.headScripts + job.output).c_str());
            RemoveProcessingInstructions(result);
            if (hasBody && !xmlInput) {
                CSafeBuf head;
                head.AssignUTF8(job.head.c_str());
                RemoveProcessingInstructions(head);
                head.Trim();
                CSafeBuf bodyTag;
                bodyTag.AssignUTF8(("<body" + job.bodyAttributes + ">").c_str());
                result.Insert(0, bodyTag);
                result.Insert(0, head);
                result.Insert(0, "<html>");
                result += "</body></html>";
            } else if (!job.headStyles.empty()) {
                // A fragment's style elements: the document keeps the
                // style sheet of a head only, so the fragment comes back
                // as a whole document whose head holds them.
                CSafeBuf head;
                head.AssignUTF8(job.headStyles.c_str());
                RemoveProcessingInstructions(head);
                head.Trim();
                result.Insert(0, "</head><body>");
                result.Insert(0, head);
                result.Insert(0, "<html><head>");
                result += "</body></html>";
            } else if (!hasBody && xmlInput) {
                // The html and body tags put around the text above.
                RemoveFirstAndLastTag(result);
                RemoveFirstAndLastTag(result);
            }
            SplitSectionEndsInScripts(result);
            markup.ReplaceWith(&result);
        }

        RemoveMarkedSections(markup);
        RemoveFileSchemeFromAddresses(markup);
        return wrote;
    } catch (...) {
        return false;
    }
}

void CXHTML::ConvertCRLFToSpace(CSafeBuf& text)
{
    const CSafeBuf& in = text;
    const unsigned short* s = in;
    int begin = 0;
    int end = in.Length();
    auto isBreak = [](unsigned short c) { return c == 13 || c == 10; };
    while (begin < end && isBreak(s[begin]))
        ++begin;
    while (end > begin && isBreak(s[end - 1]))
        --end;
    if (in.IsEmpty())
        return;
    CSafeBuf out;
    out.PrepareBufferSize(end - begin); // room only
    out.ClearBuffer();
    bool inRun = false;
    int kept = begin;
    for (int i = begin; i < end; ++i) {
        const bool blank = s[i] == ' ' || isBreak(s[i]);
        if (blank && inRun) {
            out.Append(s + kept, i - kept);
            kept = i + 1;
        } else if (blank && s[i] != ' ') {
            out.Append(s + kept, i - kept);
            out += static_cast<unsigned short>(' ');
            kept = i + 1;
        }
        inRun = blank;
    }
    out.Append(s + kept, end - kept);
    text.ReplaceWith(&out);
}
