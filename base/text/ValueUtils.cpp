#include "base/text/ValueUtils.h"

#include "base/collections/StringList.h"
#include "base/geometry/Point.h"
#include "platform/clock/LocalTime.h"
#include "platform/sys/Uuid.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

// One generator for the process, seeded once from the system's entropy and
// the time: two draws in the same tick are successive outputs of one
// generator, not the same value drawn twice from a seed taken from the clock.
std::mt19937& Generator()
{
    static std::mt19937 generator = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(),
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
        return std::mt19937(seed);
    }();
    return generator;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Day of the year counted from 0 (1 January is 0).
int DayOfYear(const qm::clock::LocalDateTime& t)
{
    static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (t.month < 1 || t.month > 12)
        return 0;
    int days = kBefore[t.month - 1] + t.day - 1;
    if (t.month > 2 && IsLeapYear(t.year))
        ++days;
    return days < 0 ? 0 : days;
}

void Format(CSafeBuf& out, const char* format, int a, int b, int c)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    out = text;
}

void TrimUpper(CSafeBuf& text)
{
    text.Trim();
    text.MakeUpper();
}

} // namespace

void CalculateValue(const unsigned short* expression, CSafeBuf& value)
{
    CSafeBuf expr(expression);
    auto is = [&expr](const char* name) { return expr.CompareNoCase(name) == 0; };

    if (is("guid()")) {
        value = qm::sys::NewUuidString().c_str();
        return;
    }
    if (is("id()")) {
        value = RandomString(8);
        return;
    }
    if (is("random()")) {
        std::uniform_int_distribution<long> draw(0, 2147483647L);
        value.Empty();
        value.AppendInt(draw(Generator()));
        return;
    }

    const bool dateExpression = is("now()") || is("date()") || is("time()") || is("year()") || is("month()")
        || is("day()") || is("day-of-year()") || is("weekday()") || is("week()");
    if (!dateExpression) {
        value = expr;
        return;
    }

    const qm::clock::LocalDateTime t = qm::clock::LocalNow();
    if (is("now()")) {
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
            t.minute, t.second);
        value = text;
    } else if (is("date()")) {
        Format(value, "%04d-%02d-%02d", t.year, t.month, t.day);
    } else if (is("time()")) {
        Format(value, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    } else if (is("year()")) {
        value.FormatInt("%04d", t.year);
    } else if (is("month()")) {
        value.FormatInt("%d", t.month);
    } else if (is("day()")) {
        value.FormatInt("%d", t.day);
    } else if (is("day-of-year()")) {
        value.FormatInt("%d", DayOfYear(t));
    } else if (is("weekday()")) {
        value.FormatInt("%d", t.dayOfWeek);
    } else { // week()
        value.FormatInt("%d", DayOfYear(t) / 7 + 1);
    }
}

CSafeBuf RandomString(int length)
{
    CSafeBuf text;
    if (length < 1)
        return text;
    std::uniform_int_distribution<int> letter(0, 25);
    std::uniform_int_distribution<int> any(0, 35);
    for (int i = 0; i < length; ++i) {
        // The first character is always a letter; later ones are letters or digits.
        const int n = i == 0 ? 10 + letter(Generator()) : any(Generator());
        text += static_cast<unsigned short>(n < 10 ? '0' + n : 'a' + (n - 10));
    }
    return text;
}

void GetFormatInt(long n, CSafeBuf& text)
{
    // Work on the magnitude as unsigned so the most negative value is safe.
    unsigned long magnitude = n < 0 ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%lu", magnitude);

    text.Empty();
    if (n < 0)
        text += '-';
    const int count = static_cast<int>(std::char_traits<char>::length(digits));
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            text += ',';
        text += static_cast<unsigned short>(digits[i]);
    }
}

void FormatStringInt(CSafeBuf& text, long n) { text.FormatInt("%ld", n); }

void ConvertNumberToRoman(int n, CSafeBuf& text)
{
    text.Empty();
    if (n <= 0)
        return;
    if (n > 3999) {
        text.FormatInt("%d", n);
        return;
    }
    static const char kLetters[] = "IVXLCDM";
    // Thousands: one 'M' each (at most three).
    for (int m = n / 1000; m > 0; --m)
        text += 'M';
    // Hundreds, tens, units: each digit from its place's one, five and ten letters.
    int place = 100;
    for (int letter = 4; letter >= 0; letter -= 2, place /= 10) {
        const int d = (n / place) % 10;
        const unsigned short one = kLetters[letter];
        const unsigned short five = kLetters[letter + 1];
        const unsigned short ten = kLetters[letter + 2];
        if (d == 9) {
            text += one;
            text += ten;
        } else if (d >= 5) {
            text += five;
            for (int k = 5; k < d; ++k)
                text += one;
        } else if (d == 4) {
            text += one;
            text += five;
        } else {
            for (int k = 0; k < d; ++k)
                text += one;
        }
    }
}

int FindIndexInList(CStringList* list, const unsigned short* text, bool normalise)
{
    if (list == nullptr || text == nullptr)
        return -1;
    CSafeBuf wanted(text);
    if (normalise)
        TrimUpper(wanted);
    int index = 0;
    for (void* pos = list->GetHeadPosition(); pos != nullptr; ++index) {
        const unsigned short* item = list->GetNext(pos);
        if (item == nullptr)
            break;
        if (normalise) {
            CSafeBuf candidate(item);
            TrimUpper(candidate);
            if (candidate == wanted)
                return index;
        } else if (wanted == item) {
            return index;
        }
    }
    return -1;
}

int FindIndexInList(CStringList* list, const char* text, bool normalise)
{
    if (text == nullptr)
        return -1;
    CSafeBuf wide(reinterpret_cast<const unsigned char*>(text));
    return FindIndexInList(list, static_cast<const unsigned short*>(wide), normalise);
}

bool GetValueInListByIndex(CStringList* list, int index, CSafeBuf& value)
{
    value.Empty();
    if (list == nullptr || index < 0)
        return false;
    void* pos = list->FindIndex(index);
    if (pos == nullptr)
        return false;
    value = list->GetNext(pos);
    value.Trim();
    return true;
}

void ClearPoint(CPoint& point)
{
    point.x = 0;
    point.y = 0;
}
