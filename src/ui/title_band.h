// The title band of a timer panel: the caption line of its group box, from
// the button's left edge to the same inset on the right. The band shows the
// timer's name, so the rules for a name edited there live here too.
#ifndef KELVARO_UI_TITLE_BAND_H
#define KELVARO_UI_TITLE_BAND_H

#include <cstddef>

struct BandRect {
    long left;
    long top;
    long right;
    long bottom;
};

// The band for a group box and its Start/Stop button, both in client
// coordinates: from the button's left edge to the same inset from the group
// box's right edge, and from the group box's top to one pixel above the
// button. Edges that come out the wrong way round are swapped.
BandRect titleBandRect(const BandRect& group, const BandRect& button);

// Lower bounds included, upper bounds excluded.
bool pointInBand(const BandRect& band, long x, long y);
bool pointInTitleBand(const BandRect& group, const BandRect& button, long x, long y);

// Whether a timer's name is its default name, string defaultNameId
// (byte-wise comparison, as the names are stored).
bool isDefaultTimerName(const char* name, unsigned defaultNameId);

// The name to store for the text typed into the name editor: the text
// truncated to nameSize - 1 bytes without splitting a double-byte character,
// without white space around it (before or after the cut), or the default
// name when nothing is left. Returns the stored length.
std::size_t storeTypedTimerName(const char* typed, unsigned defaultNameId, char* name, std::size_t nameSize);

#endif
