#include "panel/rate_spin.h"

#include <cmath>
#include <cstdio>

#include "panel/field_number.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"

int spinDirection;

// The double nearest 2^(1/12), and its reciprocal held with a 64-bit
// mantissa, so that one step up and one down from 100 give 100 again.
static const double semitoneUp = 1.0594630943592953;
static const long double semitoneDown = 1.0L / semitoneUp;

double SteppedRate(double rate, int direction, bool octave)
{
    long double factor = 1.0L;
    if (direction > 0)
        factor = octave ? 2.0L : semitoneUp;
    else if (direction < 0)
        factor = octave ? 0.5L : semitoneDown;
    return ScaleRate(rate, factor);
}

bool FormatRate(double rate, char *text, size_t size)
{
    if (!std::isfinite(rate))
        return false;
    int length = std::snprintf(text, size, "%16.16f", rate);
    if (length < 0 || (size_t)length >= size)
        return false;
    // Trailing zeros of the fraction go, and the point with them when no
    // fraction digit is left; the first character is never examined.
    for (int k = length - 1; k >= 1; k--) {
        if (text[k] == '.') {
            text[k] = '\0';
            break;
        }
        if (text[k] != '0')
            break;
        text[k] = '\0';
    }
    return true;
}

static void StepRate(HWND panel, int track)
{
    HWND field = GetDlgItem(panel, IDC_RATE1 + track);
    char text[MAX_PATH];
    GetWindowTextA(field, text, MAX_PATH);
    double rate = RateOfText(text);
    bool octave = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    rate = SteppedRate(rate, spinDirection, octave);

    // A rate that cannot be written leaves the field and the track as they are.
    if (!FormatRate(rate, text, sizeof text))
        return;
    SetWindowTextA(field, text);
    IMediaSeeking *seeking = trackGraphs.pSeeking[track];
    if (seeking != NULL)
        seeking->SetRate(RateFactor(rate));
}

void OnRateSpin(HWND panel, HWND spinner, UINT code, int position)
{
    (void)position;
    if (spinner == NULL)
        return;
    int id = (int)GetWindowLongA(spinner, GWL_ID);
    if (id < IDC_RATESPIN1 || id > IDC_RATESPIN3)
        return;

    switch (code) {
    case SB_LINEUP:
        spinDirection = +1;
        return;
    case SB_LINEDOWN:
        spinDirection = -1;
        return;
    case SB_ENDSCROLL:
        StepRate(panel, id - IDC_RATESPIN1);
        spinDirection = 0;
        return;
    default:
        spinDirection = 0;
        return;
    }
}
