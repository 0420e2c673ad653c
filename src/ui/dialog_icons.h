// The icons a dialog shows on its buttons and in its caption: loaded at the
// window's display scale, destroyed with the dialog (a button or caption does
// not own its icon) and loaded again when the scale changes.
#ifndef KELVARO_UI_DIALOG_ICONS_H
#define KELVARO_UI_DIALOG_ICONS_H

#include <windows.h>

#include <cstddef>

struct ButtonIcon {
    int buttonId;
    int iconId;
    int size;   // at 100 %
};

struct DialogIcons {
    const ButtonIcon* buttons;
    std::size_t buttonCount;
    int captionIconId;   // 0: the caption keeps the system's icon
    int captionIconSize;
};

template <std::size_t count>
constexpr DialogIcons dialogIcons(const ButtonIcon (&buttons)[count], int captionIconId = 0, int captionIconSize = 16)
{
    return DialogIcons{buttons, count, captionIconId, captionIconSize};
}

void setDialogIcons(HWND dialog, const DialogIcons& icons);
void destroyDialogIcons(HWND dialog, const DialogIcons& icons);
// Both, for a new display scale.
void reloadDialogIcons(HWND dialog, const DialogIcons& icons);

// WM_DPICHANGED of a dialog whose icons are all it sizes itself: the
// rectangle the system suggests, and the icons at the new scale.
INT_PTR onDialogScaleChanged(HWND dialog, LPARAM lParam, const DialogIcons& icons);

#endif
