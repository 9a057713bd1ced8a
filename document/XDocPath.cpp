// Naming an element by a path of tag names and positions, as page script
// does ("/body[1]/p[2]" is the body's second p), and giving a new table the
// direction of the place it went in.
//
// A path comes from outside: it is read by index against its own length, and
// names and positions of any length are taken whole, so no step can reach
// past the text or a buffer.

#include "document/XDoc.h"

#include "base/text/U16.h"
#include "element/Element.h"
#include "elements/TableElement.h"

#include <climits>
#include <vector>

namespace {

// One step of a path: the text between "/" and "[" and between "[" and "]".
struct PathStep
{
    CSafeBuf name;
    CSafeBuf position;
};

enum class StepRead
{
    kStep,      // a step was read; next is the index after its "]"
    kRemainder, // nothing follows but a remainder too short for a step
    kBroken     // the step is malformed or broken off
};

// Reads the step whose "/" is the first at or after at.
StepRead ReadStep(const unsigned short* path, int length, int at, PathStep& step, int& next)
{
    int slash = at;
    while (slash < length && path[slash] != '/')
        ++slash;
    // "/" + name + "[" + position + "]" needs at least four characters after
    // the "/".
    if (slash >= length || length - slash - 1 <= 3)
        return StepRead::kRemainder;
    int i = slash + 1;
    const int nameStart = i;
    while (i < length && path[i] != '[') {
        if (path[i] == '/' || path[i] == ']')
            return StepRead::kBroken;
        ++i;
    }
    if (i >= length)
        return StepRead::kBroken;
    const int nameEnd = i++;
    const int positionStart = i;
    while (i < length && path[i] != ']') {
        if (path[i] == '/' || path[i] == '[')
            return StepRead::kBroken;
        ++i;
    }
    if (i >= length)
        return StepRead::kBroken;
    step.name.Empty();
    step.name.Append(path + nameStart, nameEnd - nameStart);
    step.position.Empty();
    step.position.Append(path + positionStart, i - positionStart);
    next = i + 1;
    return StepRead::kStep;
}

// The number a position text starts with, as U16toi reads it (leading
// blanks, a sign, digits), but over the whole text however long: values
// beyond the int range answer INT_MAX + 1, which no child reaches.
long PositionValue(const CSafeBuf& text)
{
    const long beyond = static_cast<long>(INT_MAX) + 1;
    int i = 0;
    while (text.GetAt(i) == ' ' || (text.GetAt(i) >= '\t' && text.GetAt(i) <= '\r'))
        ++i;
    bool negative = false;
    if (text.GetAt(i) == '+' || text.GetAt(i) == '-')
        negative = text.GetAt(i++) == '-';
    long value = 0;
    for (; text.GetAt(i) >= '0' && text.GetAt(i) <= '9'; ++i) {
        value = value * 10 + (text.GetAt(i) - '0');
        if (value >= beyond) {
            value = beyond;
            break;
        }
    }
    return negative ? -value : value;
}

bool DirIs(const CSafeBuf& dir, const char* value)
{
    CSafeBuf trimmed(dir);
    trimmed.Trim();
    return U16icmp(static_cast<const unsigned short*>(trimmed), value) == 0;
}

} // namespace

CElement* CXDoc::FindElementByQPath(const unsigned short* path)
{
    if (!path)
        return nullptr;
    const int length = U16len(path);
    CElement* current = nullptr;
    PathStep step;
    for (int at = 0;;) {
        int next = at;
        const StepRead read = ReadStep(path, length, at, step, next);
        if (read == StepRead::kRemainder)
            return current;
        if (read == StepRead::kBroken || step.name.IsEmpty() || step.position.IsEmpty())
            return nullptr;
        const long position = PositionValue(step.position);
        if (position < 1)
            return nullptr;
        if (!current) {
            if (!(step.name == CSafeBuf("body")))
                return nullptr;
            current = m_root;
        } else {
            current = position > INT_MAX ? nullptr
                                         : current->FindElementByIndex(step.name, static_cast<int>(position));
        }
        if (!current)
            return nullptr;
        at = next;
    }
}

bool CXDoc::IsRightToLeftAt(const CElement* e) const
{
    CSafeBuf dir;
    for (; e; e = e->m_parent) {
        if (!e->GetAttrString("dir", dir))
            continue;
        if (DirIs(dir, "rtl"))
            return true;
        if (DirIs(dir, "ltr"))
            return false;
    }
    return m_rightToLeft != 0;
}

void CXDoc::ChangeAlignmentToContext(CElement* table)
{
    if (!table || table->m_kind != kKindTable || !IsRightToLeftAt(table))
        return;
    std::vector<CElement*> rows;
    TableRows(table, rows);
    for (CElement* row : rows)
        row->SetAttrString("align", "right");
}
