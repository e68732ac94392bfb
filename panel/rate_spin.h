// The rate spinners: a semitone (an octave with Ctrl) per click.
#ifndef SOLVANE_RATE_SPIN_H
#define SOLVANE_RATE_SPIN_H

#include "platform.h"

// +1 after the upper arrow was pressed, -1 after the lower one, 0 otherwise.
// One latch serves all three spinners: a click's line codes and its
// SB_ENDSCROLL come from one spinner, one click after another.
extern int spinDirection;

// WM_VSCROLL from a spinner: line codes set the latch; SB_ENDSCROLL (the
// release) steps the rate field's number, rewrites the field in short form
// and hands the rate to the track's graph.
void OnRateSpin(HWND panel, HWND spinner, UINT code, int position);

// rate after one step up (direction +1) or down (-1) by a semitone, or by
// an octave; direction 0 leaves it as it is.
double SteppedRate(double rate, int direction, bool octave);

// Writes rate with 16 decimals, trailing zeros and a bare point trimmed,
// into text of size bytes. Returns false, leaving text unspecified, when
// the rate is not finite or its text would not fit.
bool FormatRate(double rate, char *text, size_t size);

#endif
