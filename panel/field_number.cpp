#include "panel/field_number.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the rate arithmetic needs a long double with a 64-bit mantissa");

// The long double nearest 0.01, so that a rate times it rounds to the
// double nearest rate / 100.
static const long double percentToFactor = 0.01L;

static bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal digits with an optional point, as read from a field.
struct Mantissa {
    const char *first;
    const char *last;
    int integerDigits;
    int digits;
};

static const char *ScanDigits(const char *p, int *count)
{
    while (IsDigit(*p)) {
        p++;
        (*count)++;
    }
    return p;
}

// The decimal order of the mantissa times 10^exponent: the power of ten of
// its first nonzero digit. Only its sign is needed, to tell an overflow
// from an underflow.
static long DecimalOrder(const Mantissa &m, long exponent)
{
    long index = 0;
    for (const char *p = m.first; p != m.last; p++) {
        if (*p == '.')
            continue;
        if (*p != '0')
            break;
        index++;
    }
    return m.integerDigits - 1 - index + exponent;
}

// Reads an exponent at p ('e' or 'E', an optional sign, digits) into
// *exponent, clamped far beyond the double range, and returns its end; p
// itself when no exponent stands there.
static const char *ScanExponent(const char *p, long *exponent)
{
    *exponent = 0;
    if (*p != 'e' && *p != 'E')
        return p;
    const char *q = p + 1;
    bool negative = *q == '-';
    if (*q == '+' || *q == '-')
        q++;
    if (!IsDigit(*q))
        return p;
    for (; IsDigit(*q); q++) {
        if (*exponent < 1000000)
            *exponent = *exponent * 10 + (*q - '0');
    }
    if (negative)
        *exponent = -*exponent;
    return q;
}

double ReadFieldNumber(const char *text)
{
    const char *p = text;
    while (IsBlank(*p))
        p++;

    bool signedText = *p == '+' || *p == '-';
    bool negative = *p == '-';
    if (signedText)
        p++;
    if (signedText && std::strncmp(p, "INF", 3) == 0)
        return negative ? -HUGE_VAL : HUGE_VAL;
    if (signedText && std::strncmp(p, "NAN", 3) == 0)
        return std::copysign(std::numeric_limits<double>::quiet_NaN(), negative ? -1.0 : 1.0);

    Mantissa m = {p, p, 0, 0};
    p = ScanDigits(p, &m.integerDigits);
    m.digits = m.integerDigits;
    if (*p == '.')
        p = ScanDigits(p + 1, &m.digits);
    if (m.digits == 0)
        return 0.0;
    m.last = p;

    long exponent;
    p = ScanExponent(p, &exponent);

    double value = 0.0;
    if (std::from_chars(m.first, p, value, std::chars_format::general).ec == std::errc::result_out_of_range)
        value = DecimalOrder(m, exponent) >= 0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

double RateOfText(const char *text)
{
    double rate = ReadFieldNumber(text);
    return rate == 0.0 ? 100.0 : rate;
}

double ScaleRate(double rate, long double factor)
{
    return (double)(rate * factor);
}

double RateFactor(double rate)
{
    return ScaleRate(rate, percentToFactor);
}

const char *ReadField(HWND panel, int id, char *text)
{
    GetWindowTextA(GetDlgItem(panel, id), text, MAX_PATH);
    return text;
}
