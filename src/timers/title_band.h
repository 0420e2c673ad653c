// The title band of a timer panel: the caption line of its group box, from
// the button's left edge to the same inset on the right.
#ifndef KELVARO_TIMERS_TITLE_BAND_H
#define KELVARO_TIMERS_TITLE_BAND_H

struct BandRect {
    long left;
    long top;
    long right;
    long bottom;
};

// The band for a group box and its Start/Stop button, both in client coordinates.
BandRect titleBandRect(const BandRect& group, const BandRect& button);

// Lower bounds included, upper bounds excluded.
bool pointInTitleBand(const BandRect& group, const BandRect& button, long x, long y);

#endif
