// The icons a dialog shows on its buttons and in its caption: loaded at the
// window's display scale and loaded again when the scale changes. A button
// or caption does not own its icon, so the dialog's state holds them.
#ifndef KELVARO_UI_COMMON_DIALOG_ICONS_H
#define KELVARO_UI_COMMON_DIALOG_ICONS_H

#include "base/owned_handle.h"

#include <windows.h>

#include <cstddef>

struct ButtonIcon {
    int buttonId;
    int iconId;
    int size;   // at 100 %
};

constexpr std::size_t maxButtonIcons = 12;

struct DialogIcons {
    const ButtonIcon* buttons;
    std::size_t buttonCount;
    int captionIconId;   // 0: the caption keeps the system's icon
    int captionIconSize;
};

template <std::size_t count>
constexpr DialogIcons dialogIcons(const ButtonIcon (&buttons)[count], int captionIconId = 0, int captionIconSize = 16)
{
    static_assert(count <= maxButtonIcons, "HeldIcons has room for this many");
    return DialogIcons{buttons, count, captionIconId, captionIconSize};
}

// The icons a dialog has set, by the position of their button in its table.
struct HeldIcons {
    OwnedIcon buttons[maxButtonIcons];
    OwnedIcon caption;
};

// Sets every icon at the dialog's display scale; the icons set before (at
// another scale) are destroyed once replaced.
void setDialogIcons(HWND dialog, const DialogIcons& icons, HeldIcons& held);

// Gives a button a new icon, destroying the one it showed.
void setButtonIcon(HWND dialog, int buttonId, OwnedIcon& held, HICON icon);

// WM_DPICHANGED of a dialog whose icons are all it sizes itself: the
// rectangle the system suggests, and the icons at the new scale.
INT_PTR onDialogScaleChanged(HWND dialog, LPARAM lParam, const DialogIcons& icons, HeldIcons& held);

#endif
