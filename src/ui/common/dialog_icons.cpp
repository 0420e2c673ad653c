#include "ui/common/dialog_icons.h"

#include "base/dialog_helpers.h"
#include "base/display_scale_win.h"

void setButtonIcon(HWND dialog, int buttonId, OwnedIcon& held, HICON icon)
{
    SendDlgItemMessageA(dialog, buttonId, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    held.reset(icon);
}

void setDialogIcons(HWND dialog, const DialogIcons& icons, HeldIcons& held)
{
    for (std::size_t index = 0; index < icons.buttonCount; ++index) {
        const ButtonIcon& icon = icons.buttons[index];
        setButtonIcon(dialog, icon.buttonId, held.buttons[index], loadScaledIcon(dialog, icon.iconId, icon.size));
    }
    if (icons.captionIconId != 0) {
        const HICON caption = loadScaledIcon(dialog, icons.captionIconId, icons.captionIconSize);
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(caption));
        held.caption.reset(caption);
    }
}

INT_PTR onDialogScaleChanged(HWND dialog, LPARAM lParam, const DialogIcons& icons, HeldIcons& held)
{
    takeSuggestedRect(dialog, lParam);
    setDialogIcons(dialog, icons, held);
    return handledResult(dialog, 0);
}
