// CSafeBuf driven by a fuzzed sequence of edits, searches, conversions and
// formats on arbitrary UTF-16 text. Insert, Delete and Replace are checked
// against a plain model; every step checks the length and terminator.

#include "fuzz/FuzzText.h"

#include "base/text/RightToLeft.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using U16 = std::u16string;

U16 Model(const CSafeBuf& s)
{
    const unsigned short* p = s;
    return U16(reinterpret_cast<const char16_t*>(p), static_cast<size_t>(s.Length()));
}

U16 Text(const std::vector<unsigned short>& v)
{
    return U16(reinterpret_cast<const char16_t*>(v.data()), v.size() - 1);
}

void CheckShape(const CSafeBuf& s)
{
    const unsigned short* p = s;
    QM_FUZZ_CHECK(s.Length() >= 0);
    QM_FUZZ_CHECK(s.Length() <= s.GetCapacity());
    QM_FUZZ_CHECK(p != nullptr && p[s.Length()] == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    std::vector<unsigned short> initial = qmfuzz::ConsumeU16(fdp, 200);
    CSafeBuf buf(initial.data());
    QM_FUZZ_CHECK(Model(buf) == Text(initial));
    int steps = 0;
    while (fdp.remaining_bytes() > 0 && ++steps < 40) {
        int op = fdp.ConsumeIntegralInRange<int>(0, 27);
        U16 before = Model(buf);
        switch (op) {
        case 0: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 20);
            int pos = fdp.ConsumeIntegralInRange<int>(-5, buf.Length() + 5);
            int count = fdp.ConsumeIntegralInRange<int>(-2, static_cast<int>(t.size()) - 1);
            int n = buf.Insert(pos, t.data(), count);
            U16 ins = Text(t);
            if (count >= 0)
                ins = ins.substr(0, static_cast<size_t>(count));
            size_t at = static_cast<size_t>(std::clamp(pos, 0, static_cast<int>(before.size())));
            U16 want = before;
            want.insert(at, ins);
            QM_FUZZ_CHECK(n == static_cast<int>(ins.size()));
            QM_FUZZ_CHECK(Model(buf) == want);
            break;
        }
        case 1: {
            int pos = fdp.ConsumeIntegralInRange<int>(-5, buf.Length() + 5);
            int count = fdp.ConsumeIntegralInRange<int>(-3, 50);
            int n = buf.Delete(pos, count);
            U16 want = before;
            if (count > 0 && pos >= 0 && pos < static_cast<int>(before.size()))
                want.erase(static_cast<size_t>(pos), static_cast<size_t>(count));
            QM_FUZZ_CHECK(Model(buf) == want);
            QM_FUZZ_CHECK(n == buf.Length());
            break;
        }
        case 2: {
            std::vector<unsigned short> from = qmfuzz::ConsumeU16(fdp, 6);
            std::vector<unsigned short> to = qmfuzz::ConsumeU16(fdp, 8);
            bool matchCase = fdp.ConsumeBool();
            int n = buf.Replace(from.data(), to.data(), matchCase);
            if (matchCase && from.size() > 1) {
                U16 f = Text(from), t = Text(to), want;
                int count = 0;
                size_t i = 0;
                while (i < before.size()) {
                    if (before.compare(i, f.size(), f) == 0) {
                        want += t;
                        i += f.size();
                        ++count;
                    } else {
                        want += before[i++];
                    }
                }
                QM_FUZZ_CHECK(n == count);
                QM_FUZZ_CHECK(Model(buf) == want);
            }
            break;
        }
        case 3: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 6);
            int start = fdp.ConsumeIntegralInRange<int>(-5, buf.Length() + 5);
            bool matchCase = fdp.ConsumeBool();
            int at = buf.Find(t.data(), start, matchCase);
            QM_FUZZ_CHECK(at >= -1 && at <= buf.Length());
            if (matchCase && at >= 0 && t.size() > 1)
                QM_FUZZ_CHECK(before.compare(static_cast<size_t>(at), t.size() - 1, Text(t)) == 0);
            std::string b = qmfuzz::ConsumeBytes(fdp, 6);
            at = buf.Find(b.c_str(), start, fdp.ConsumeBool());
            QM_FUZZ_CHECK(at >= -1 && at <= buf.Length());
            // The terminator is searched too: Find(0) answers the length.
            at = buf.Find(fdp.ConsumeIntegral<unsigned short>(), start);
            QM_FUZZ_CHECK(at >= -1 && at <= buf.Length());
            (void)buf.ReverseFind(fdp.ConsumeIntegral<unsigned short>());
            break;
        }
        case 4: {
            int tab = fdp.ConsumeIntegralInRange<int>(-2, 12);
            int pos = fdp.ConsumeIntegralInRange<int>(-5, buf.Length() * 8 + 5);
            (void)buf.RealPostionFromExpandedPos(pos, tab);
            (void)buf.GetAdjustPosForTAB(pos, fdp.ConsumeBool(), tab);
            int real = buf.RealPostionFromExpandedPos(pos, tab);
            QM_FUZZ_CHECK(tab < 2 || buf.IsEmpty() || (real >= 0 && real <= buf.Length()) || pos < 0);
            if (buf.Length() < 2000)
                buf.ExpandTAB(tab, fdp.ConsumeBool() ? ' ' : 0xA0);
            if (tab >= 1)
                QM_FUZZ_CHECK(buf.Find(static_cast<unsigned short>('\t')) < 0
                    || before.find(u'\t') == U16::npos || buf.Length() >= 2000);
            break;
        }
        case 5: {
            std::string u8 = qmfuzz::ConsumeBytes(fdp, 60);
            buf.AssignUTF8(u8.c_str());
            break;
        }
        case 6: {
            char* out = nullptr;
            int n = buf.CreateUTF8Str(&out);
            QM_FUZZ_CHECK(n >= 0);
            if (out) {
                QM_FUZZ_CHECK(std::strlen(out) <= static_cast<size_t>(n));
                CSafeBuf back;
                back.AssignUTF8(out);
                delete[] out;
            }
            char small[16];
            int size = fdp.ConsumeIntegralInRange<int>(-1, 16);
            int got = buf.CopyUTF8Str(small, size);
            QM_FUZZ_CHECK(got >= 0 && (size < 1 || got < size));
            break;
        }
        case 7: {
            std::string fmt = qmfuzz::ConsumeBytes(fdp, 24);
            long value = fdp.ConsumeIntegral<long>();
            if (fdp.ConsumeBool())
                buf.FormatInt(fmt.c_str(), value);
            else
                buf.AppendInt(fmt.c_str(), value);
            break;
        }
        case 8: {
            CSafeBuf copy(buf);
            ReserveText(copy, fdp.ConsumeBool());
            U16 a = Model(copy), b = before;
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            QM_FUZZ_CHECK(a == b);
            int pos = -7;
            int mixed = buf.IsMixedText(&pos);
            QM_FUZZ_CHECK(mixed == 0 || (pos >= 0 && pos < buf.Length()));
            (void)buf.HasLetterAndArabicOrHebrew();
            (void)buf.HasEndSentence();
            buf = copy;
            break;
        }
        case 9: {
            int n = fdp.ConsumeIntegralInRange<int>(-3, buf.Length() + 3);
            int m = fdp.ConsumeIntegralInRange<int>(-3, buf.Length() + 3);
            CSafeBuf l = buf.Left(n), r = buf.Right(n), mid = buf.Mid(n, m);
            CheckShape(l);
            CheckShape(r);
            CheckShape(mid);
            if (fdp.ConsumeBool())
                buf.Right(m, &buf);
            else
                buf.Right(m, &l);
            break;
        }
        case 10: buf.EscapeXML(); break;
        case 11: {
            unsigned short extra = fdp.ConsumeBool() ? 0 : fdp.ConsumeIntegral<unsigned short>();
            int which = fdp.ConsumeIntegralInRange<int>(0, 2);
            if (which == 0)
                buf.TrimLeft(extra);
            else if (which == 1)
                buf.TrimRight(extra);
            else
                buf.Trim(extra);
            break;
        }
        case 12:
            switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: buf.MakeUpper(); break;
            case 1: buf.MakeLower(); break;
            case 2: buf.MakeCapitalize(); break;
            default: buf.ConvertUnixToAnsiCR(); break;
            }
            break;
        case 13: {
            int n = fdp.ConsumeIntegralInRange<int>(-3, buf.Length() + 3);
            switch (fdp.ConsumeIntegralInRange<int>(0, 4)) {
            case 0: buf.AdjSize(n); break;
            case 1: buf.CutAt(n); break;
            case 2: buf.RemoveBeginTo(n); break;
            case 3:
                buf.Resize(n >= 0 ? n : 0);
                if (n > static_cast<int>(before.size()))
                    buf.BufferChanged();
                break;
            default:
                (void)buf.GetAt(n);
                if (buf.Length() > 0)
                    buf.SetAt(n, 'q');
                break;
            }
            break;
        }
        case 14: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 30);
            buf += t.data();
            buf += fdp.ConsumeIntegral<unsigned short>();
            std::string b = qmfuzz::ConsumeBytes(fdp, 10);
            buf += b.c_str();
            buf.Append(b.data(), static_cast<int>(b.size()));
            break;
        }
        case 15: {
            std::string b = qmfuzz::ConsumeBytes(fdp, 10);
            int pos = fdp.ConsumeIntegralInRange<int>(-5, buf.Length() + 5);
            buf.Insert(pos, b.c_str(), fdp.ConsumeIntegralInRange<int>(-1, static_cast<int>(b.size())));
            buf.Insert(pos, fdp.ConsumeIntegral<unsigned short>());
            break;
        }
        case 16: {
            std::string a = qmfuzz::ConsumeBytes(fdp, 5), b = qmfuzz::ConsumeBytes(fdp, 8);
            buf.Replace(a.c_str(), b.c_str());
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 8);
            buf.Replace(a.c_str(), t.data());
            break;
        }
        case 17: {
            (void)buf.Remove(fdp.ConsumeIntegral<unsigned short>());
            (void)buf.JustSpace();
            (void)buf.NoUnicode();
            (void)buf.NoCJK();
            (void)buf.IncludeSymbol();
            break;
        }
        case 18: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 20);
            (void)buf.CompareNoCase(t.data());
            (void)(buf == static_cast<const unsigned short*>(t.data()));
            std::string b = qmfuzz::ConsumeBytes(fdp, 20);
            (void)buf.CompareNoCase(b.c_str());
            (void)(buf == b.c_str());
            break;
        }
        case 19: {
            char* ansi = buf.GetAnsiBuffer();
            QM_FUZZ_CHECK(ansi != nullptr);
            unsigned short* copy = buf.CreateNew();
            QM_FUZZ_CHECK((copy == nullptr) == (buf.Length() == 0));
            delete[] copy;
            break;
        }
        case 20: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 20);
            buf.AssignUTF8(t.data());
            break;
        }
        case 21: {
            std::vector<unsigned short> t = qmfuzz::ConsumeU16(fdp, 20);
            int n = fdp.ConsumeIntegralInRange<int>(-2, static_cast<int>(t.size()));
            buf.Copy(t.data(), n);
            buf.BufferChanged();
            break;
        }
        case 22: {
            CSafeBuf other(fdp.ConsumeIntegral<unsigned short>(), fdp.ConsumeIntegralInRange<int>(-2, 40));
            CheckShape(other);
            buf += other;
            break;
        }
        case 23:
            buf += buf;
            if (buf.Length() > 4000)
                buf.CutAt(100);
            break;
        case 24: {
            const unsigned short* self = buf;
            int pos = fdp.ConsumeIntegralInRange<int>(-2, buf.Length() + 2);
            buf.Insert(pos, self + std::min(buf.Length(), std::max(0, pos)), -1);
            break;
        }
        case 25: {
            const unsigned short* self = buf;
            buf = self;
            buf.Replace(self, self);
            break;
        }
        case 26: {
            CSafeBuf other;
            other.ReplaceWith(&buf);
            QM_FUZZ_CHECK(buf.IsEmpty());
            buf = other;
            break;
        }
        default: {
            std::string b = qmfuzz::ConsumeBytes(fdp, 20);
            buf = b.c_str();
            CSafeBuf s(b.c_str());
            CSafeBuf u(reinterpret_cast<const unsigned char*>(b.c_str()));
            CheckShape(s);
            CheckShape(u);
            break;
        }
        }
        CheckShape(buf);
        // Self-appends double the text; keep every step quick.
        if (buf.Length() > 16000)
            buf.CutAt(1000);
    }
    return 0;
}
