// The field number reading and the rate arithmetic over tables of cases.
// Plain C++ with no test framework, so that the same table runs in the
// Windows program's build (under Wine) and in the Linux build: both must
// give the same results to the bit.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "panel/field_number.h"
#include "panel/rate_spin.h"

namespace {

int passed, failed;

void Check(bool ok, const char *what, const char *input, const char *got, const char *want)
{
    if (ok) {
        passed++;
        return;
    }
    failed++;
    std::printf("FAILED %s of \"%s\": got %s, want %s\n", what, input, got, want);
}

struct Reading {
    const char *text;
    double value; // NaN: expect NaN
};

const double inf = HUGE_VAL;

const Reading readings[] = {
    {"", 0.0},
    {"   ", 0.0},
    {"abc", 0.0},
    {"100", 100.0},
    {"  \t\n50", 50.0},
    {"+7", 7.0},
    {"-50", -50.0},
    {"-0", -0.0},
    {"1.5", 1.5},
    {".5", 0.5},
    {"5.", 5.0},
    {"-.25", -0.25},
    {".", 0.0},
    {"+", 0.0},
    {"1e2", 100.0},
    {"1E-2", 0.01},
    {"2.5e+3", 2500.0},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1ex", 1.0},
    {"0x10", 0.0},
    {"50abc", 50.0},
    {"12 34", 12.0},
    {"1,5", 1.0},
    {"1e400", inf},
    {"-1e400", -inf},
    {"1e-400", 0.0},
    {"0.000000001e-320", 0.0},
    {"1e99999999999", inf},
    {"+INF", inf},
    {"-INF", -inf},
    {"INF", 0.0},
    {"inf", 0.0},
    {"+inf", 0.0},
    {"infinity", 0.0},
    {"+NAN", NAN},
    {"-NAN", NAN},
    {"nan", 0.0},
    {"0.1", 0.1},
    {"105.9463094359295354", 105.9463094359295354},
    {"2.2250738585072014e-308", 2.2250738585072014e-308},
    {"4.9406564584124654e-324", 4.9406564584124654e-324},
    {"1.7976931348623157e308", 1.7976931348623157e308},
    // Just below and at the midpoint between the largest double and 2^1024.
    {"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497791.9", 1.7976931348623157e308},
    {"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497792", inf},
};

void CheckReadings()
{
    for (const Reading &r : readings) {
        double got = ReadFieldNumber(r.text);
        char gotText[64], wantText[64];
        std::snprintf(gotText, sizeof gotText, "%.17g", got);
        std::snprintf(wantText, sizeof wantText, "%.17g", r.value);
        bool ok = std::isnan(r.value) ? std::isnan(got)
                                      : got == r.value && std::signbit(got) == std::signbit(r.value);
        Check(ok, "reading", r.text, gotText, wantText);
    }
}

// A rate field's text after steps from a starting text, as the spinner
// writes it back each time.
struct Steps {
    const char *start;
    int direction;
    bool octave;
    int count;
    const char *text;
    double factor; // handed to SetRate after the last step
};

const Steps steps[] = {
    {"100", +1, false, 1, "105.9463094359295354", 1.0594630943592953},
    {"100", -1, false, 1, "94.387431268169351", 0.9438743126816935},
    {"100", +1, true, 1, "200", 2.0},
    {"100", -1, true, 1, "50", 0.5},
    {"100", +1, false, 12, "200.0000000000001421", 2.0000000000000013},
    {"100", -1, false, 12, "49.9999999999999787", 0.49999999999999978},
    {"3", -1, false, 1, "2.8316229380450806", 0.028316229380450806},
    {"", +1, false, 1, "105.9463094359295354", 1.0594630943592953},
    {"0x10", +1, false, 1, "105.9463094359295354", 1.0594630943592953},
    {"50abc", +1, true, 1, "100", 1.0},
    {"  50", +1, true, 1, "100", 1.0},
    {"-50", +1, false, 1, "-52.9731547179647677", -0.52973154717964771},
    {"100.0", 0, false, 1, "100", 1.0},
    {"50.5", 0, false, 1, "50.5", 0.505},
    {"0.5", 0, false, 1, "0.5", 0.005},
    {"190", 0, false, 1, "190", 1.9},
};

void CheckSteps()
{
    for (const Steps &s : steps) {
        char text[260];
        std::snprintf(text, sizeof text, "%s", s.start);
        double rate = 0;
        for (int i = 0; i < s.count; i++) {
            rate = SteppedRate(RateOfText(text), s.direction, s.octave);
            if (!FormatRate(rate, text, sizeof text))
                std::snprintf(text, sizeof text, "(refused)");
        }
        Check(std::strcmp(text, s.text) == 0, "stepped text", s.start, text, s.text);
        char got[64], want[64];
        std::snprintf(got, sizeof got, "%.17g", RateFactor(rate));
        std::snprintf(want, sizeof want, "%.17g", s.factor);
        Check(RateFactor(rate) == s.factor, "factor", s.start, got, want);
    }
}

void CheckRoundTrips()
{
    char text[260];
    double up = SteppedRate(100, +1, false);
    FormatRate(up, text, sizeof text);
    FormatRate(SteppedRate(RateOfText(text), -1, false), text, sizeof text);
    Check(std::strcmp(text, "100") == 0, "up then down", "100", text, "100");

    FormatRate(SteppedRate(3, -1, false), text, sizeof text);
    FormatRate(SteppedRate(RateOfText(text), +1, false), text, sizeof text);
    Check(std::strcmp(text, "3.0000000000000004") == 0, "down then up", "3", text, "3.0000000000000004");
}

// Rates whose text would not fit the field's buffer, and rates that are not
// numbers, are refused rather than written.
void CheckRefusals()
{
    struct Refusal {
        double rate;
        size_t size;
        bool fits;
        const char *name;
    } refusals[] = {
        {1e240, 260, true, "1e240"},   {1e242, 260, false, "1e242"}, {-1e241, 260, false, "-1e241"},
        {HUGE_VAL, 260, false, "inf"}, {NAN, 260, false, "nan"},     {100, 4, false, "100 in 4 bytes"},
        {100, 22, true, "100 in 22 bytes"},
    };
    for (const Refusal &r : refusals) {
        char text[300];
        std::memset(text, '#', sizeof text);
        bool written = FormatRate(r.rate, text, r.size);
        Check(written == r.fits, "fits", r.name, written ? "written" : "refused", r.fits ? "written" : "refused");
        Check(text[r.size] == '#', "buffer end", r.name, "overrun", "untouched");
    }
}

} // namespace

int main()
{
    CheckReadings();
    CheckSteps();
    CheckRoundTrips();
    CheckRefusals();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
