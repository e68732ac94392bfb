// Control ids of the panel. Every per-track id is its row's base id plus the
// track index (0, 1, 2).
#ifndef SOLVANE_RESOURCE_H
#define SOLVANE_RESOURCE_H

#define IDC_FILE1 101
#define IDC_FILE2 102
#define IDC_FILE3 103
#define IDC_PLAY 104
#define IDC_STOP 105
#define IDC_DELAY2 106
#define IDC_DELAY3 107
#define IDC_VOLUME1 108
#define IDC_VOLUME2 109
#define IDC_VOLUME3 110
#define IDC_BALANCE1 111
#define IDC_BALANCE2 112
#define IDC_BALANCE3 113
#define IDC_RATE1 114
#define IDC_RATE2 115
#define IDC_RATE3 116
#define IDC_RATESPIN1 117
#define IDC_RATESPIN2 118
#define IDC_RATESPIN3 119
#define IDC_LOOP 120
#define IDC_BROWSE1 201
#define IDC_BROWSE2 202
#define IDC_BROWSE3 203

#endif
