// Fuzzes the field number reading and the rate text against simple reference
// models: the C library's strtod in the C locale, with the forms this reader
// leaves out (hexadecimal, infinities and NaNs in C's spellings) taken out of
// its reach, and a plain printf with the trailing zeros cut.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

#include "panel/field_number.h"
#include "panel/rate_spin.h"

namespace {

double Expected(const char *text)
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        p++;
    bool sign = *p == '+' || *p == '-';
    double unit = *p == '-' ? -1.0 : 1.0;
    const char *s = sign ? p + 1 : p;
    if (sign && std::strncmp(s, "INF", 3) == 0)
        return unit * HUGE_VAL;
    if (sign && std::strncmp(s, "NAN", 3) == 0)
        return NAN;
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return unit * 0.0; // "0", and the x ends the number
    if (strncasecmp(s, "inf", 3) == 0 || strncasecmp(s, "nan", 3) == 0)
        return 0.0;
    return strtod_l(text, nullptr, c);
}

bool Same(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

// The rate text as printf gives it, trailing fraction zeros and a bare point
// cut; nothing when it is not finite or does not fit size bytes.
bool ExpectedText(double rate, size_t size, std::string &text)
{
    if (!std::isfinite(rate))
        return false;
    char buffer[400];
    int length = std::snprintf(buffer, sizeof buffer, "%16.16f", rate);
    if (length < 0 || (size_t)length >= size)
        return false;
    text = buffer;
    size_t point = text.find('.');
    if (point != std::string::npos && point > 0) {
        while (text.size() > point + 1 && text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1) {
        std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
        text = text.c_str(); // up to the first NUL, as a field holds it
        double got = ReadFieldNumber(text.c_str()), want = Expected(text.c_str());
        if (!Same(got, want)) {
            std::fprintf(stderr, "\"%s\": read %.17g, expected %.17g\n", text.c_str(), got, want);
            std::abort();
        }
        return 0;
    }
    if (size < 9)
        return 0;
    double rate;
    std::memcpy(&rate, data + 1, sizeof rate);
    size_t room = 1 + (size > 9 ? data[9] : 255) % 300;
    char got[300];
    std::memset(got, '#', sizeof got);
    std::string want;
    bool written = FormatRate(rate, got, room), expected = ExpectedText(rate, room, want);
    if (written != expected || (written && want != got) || (room < sizeof got && got[room] != '#')) {
        std::fprintf(stderr, "%.17g in %zu bytes: got %s \"%s\", expected %s \"%s\"\n", rate, room,
                     written ? "written" : "refused", written ? got : "", expected ? "written" : "refused",
                     want.c_str());
        std::abort();
    }
    return 0;
}
