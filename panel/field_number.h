// Numbers in the rate and delay fields, and the rate arithmetic shared by
// Play and the spinners.
#ifndef SOLVANE_FIELD_NUMBER_H
#define SOLVANE_FIELD_NUMBER_H

#include "platform.h"

// Reads text as a decimal number the way strtod does in the C locale, but
// with no hexadecimal forms and with infinity and NaN only as a sign
// followed by INF or NAN. Reading stops at the first character that does
// not fit; a text with no leading number reads as 0. Too large a number
// reads as an infinity of its sign, too small a one as 0.
double ReadFieldNumber(const char *text);

// The rate in percent that a rate field's text stands for: its number, or
// 100 when that number is zero.
double RateOfText(const char *text);

// rate * factor, formed with a 64-bit mantissa and rounded once to a double.
double ScaleRate(double rate, long double factor);

// The factor handed to SetRate: the double nearest rate / 100.
double RateFactor(double rate);

// Reads the text of the panel's control id into text, which holds MAX_PATH
// characters, and returns text.
const char *ReadField(HWND panel, int id, char *text);

#endif
