#include "ui/title_band.h"

#include "base/strings.h"
#include "base/text.h"
#include "settings/settings.h"

#include <algorithm>
#include <cstring>

BandRect titleBandRect(const BandRect& group, const BandRect& button)
{
    // As far in from the group box's right edge as the button is from its left edge.
    const long mirroredLeft = group.left + group.right - button.left;
    const long aboveButton = button.top - 1;
    return BandRect{std::min(button.left, mirroredLeft), std::min(group.top, aboveButton),
                    std::max(button.left, mirroredLeft), std::max(group.top, aboveButton)};
}

bool pointInBand(const BandRect& band, long x, long y)
{
    return x >= band.left && x < band.right && y >= band.top && y < band.bottom;
}

bool pointInTitleBand(const BandRect& group, const BandRect& button, long x, long y)
{
    return pointInBand(titleBandRect(group, button), x, y);
}

bool isDefaultTimerName(const char* name, unsigned defaultNameId)
{
    char defaultName[labelSize];
    loadString(defaultNameId, defaultName, sizeof defaultName);
    return std::strcmp(name, defaultName) == 0;
}

std::size_t storeTypedTimerName(const char* typed, unsigned defaultNameId, char* name, std::size_t nameSize)
{
    // An edit control limits characters, not bytes: the cut may end the name
    // in the blank before a double-byte character that did not fit.
    const std::size_t length = copyTrimmed(name, nameSize, typed);
    if (length > 0)
        return length;
    char defaultName[labelSize];
    loadString(defaultNameId, defaultName, sizeof defaultName);
    return copyText(name, nameSize, defaultName);
}
