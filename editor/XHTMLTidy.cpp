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
// Tidy builds its tree and writes it recursively, a few hundred bytes of
// stack a level, so markup nested a hundred thousand deep would overflow the
// thread's stack. Tidy therefore runs on a thread of its own whose stack is
// sized by the number of start tags of its input (every level of the tree
// comes from one, or from an element Tidy adds around one), and the caller
// waits for it.

#include "editor/XHTML.h"

#include "base/text/SafeBuf.h"
#include "editor/TidyMarkup.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <pthread.h>

#include <cstddef>
#include <string>

namespace {

// Stack for one start tag of the input: four times the most a level of
// Tidy's parse, clean-up and printing was seen to take, with the elements it
// adds around misplaced ones (table cells in list items) counted in.
constexpr size_t kStackPerTag = 2048;
constexpr size_t kStackBase = 1 << 20;
// Larger inputs (half a million start tags) are not handed to Tidy.
constexpr size_t kStackLimit = size_t(1) << 30;

size_t CountStartTags(const std::string& text)
{
    size_t count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        const unsigned char next = static_cast<unsigned char>(text[i + 1]);
        if (text[i] == '<' && ((next | 0x20) >= 'a' && (next | 0x20) <= 'z'))
            ++count;
    }
    return count;
}

struct TidyJob
{
    const std::string* input = nullptr;
    bool xmlInput = false;
    std::string output; // what Tidy wrote
};

bool SetOption(TidyDoc doc, const char* name, const char* value)
{
    return tidyOptParseValue(doc, name, value) == yes;
}

// Runs Tidy on job's input and keeps what it wrote. Tidy's messages go to
// an error buffer that nobody reads.
void RunTidy(TidyJob& job)
{
    TidyDoc doc = tidyCreate();
    TidyBuffer errors;
    TidyBuffer output;
    tidyBufInit(&errors);
    tidyBufInit(&output);

    bool options = true;
    if (job.xmlInput)
        options = SetOption(doc, "input-xml", "yes");
    for (const auto& option : {std::make_pair("show-body-only", "yes"), std::make_pair("output-xhtml", "yes"),
             std::make_pair("hide-comments", "yes"), std::make_pair("char-encoding", "utf8"),
             std::make_pair("quote-nbsp", "no"), std::make_pair("add-xml-decl", "no"),
             std::make_pair("word-2000", "yes"), std::make_pair("drop-empty-paras", "yes"),
             std::make_pair("logical-emphasis", "yes")})
        options = options && SetOption(doc, option.first, option.second);

    // Status: negative a failure, 0 clean, 1 warnings, 2 errors.
    int status = options ? tidySetErrorBuffer(doc, &errors) : -1;
    if (status >= 0)
        status = tidyParseString(doc, job.input->c_str());
    if (status >= 0)
        status = tidyCleanAndRepair(doc);
    if (status >= 0)
        status = tidyRunDiagnostics(doc);
    if (status > 1 && !SetOption(doc, "force-output", "yes"))
        status = -1;
    if (status >= 0)
        status = tidySaveBuffer(doc, &output);
    try {
        if (status >= 0 && output.bp && output.size > 0)
            job.output.assign(reinterpret_cast<const char*>(output.bp), output.size);
    } catch (...) {
        job.output.clear();
    }

    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
}

// Runs Tidy on a thread whose stack its input's nesting cannot overflow.
// False when the input is too large for that or the thread cannot start.
bool RunTidyOnOwnStack(TidyJob& job)
{
    const size_t tags = CountStartTags(*job.input);
    if (tags > (kStackLimit - kStackBase) / kStackPerTag)
        return false;
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return false;
    bool ran = pthread_attr_setstacksize(&attr, kStackBase + tags * kStackPerTag) == 0;
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        RunTidy(*static_cast<TidyJob*>(arg));
        return nullptr;
    };
    ran = ran && pthread_create(&thread, &attr, run, &job) == 0;
    pthread_attr_destroy(&attr);
    if (ran)
        pthread_join(thread, nullptr);
    return ran;
}

} // namespace

bool CXHTML::ValidateXML(CSafeBuf& markup, const char* source, bool xmlInput)
{
    try {
        ResolveCharacterReferences(markup);
        const bool hasBody = HasBodyStartTag(markup);
        if (xmlInput && !hasBody) {
            markup.Insert(0, "<html><body>");
            markup += "</body></html>";
        }

        std::string input;
        if (source) {
            input = source;
        } else {
            char* utf8 = nullptr;
            const int length = markup.CreateUTF8Str(&utf8);
            try {
                input.assign(utf8 ? utf8 : "", length > 0 ? static_cast<size_t>(length) : 0);
            } catch (...) {
                delete[] utf8;
                throw;
            }
            delete[] utf8;
        }

        TidyJob job;
        job.input = &input;
        job.xmlInput = xmlInput;
        const bool wrote = RunTidyOnOwnStack(job) && !job.output.empty();
        if (wrote) {
            CSafeBuf result;
            result.AssignUTF8(job.output.c_str());
            RemoveProcessingInstructions(result);
            if (hasBody && !xmlInput) {
                result.Insert(0, "<html><body>");
                result += "</body></html>";
            } else if (!hasBody && xmlInput) {
                // The html and body tags put around the text above.
                RemoveFirstAndLastTag(result);
                RemoveFirstAndLastTag(result);
            }
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
