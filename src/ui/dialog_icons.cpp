#include "ui/dialog_icons.h"

#include "base/app.h"
#include "base/display_scale_win.h"

void setDialogIcons(HWND dialog, const DialogIcons& icons)
{
    for (std::size_t index = 0; index < icons.buttonCount; ++index) {
        const ButtonIcon& icon = icons.buttons[index];
        SendDlgItemMessageA(dialog, icon.buttonId, BM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(loadScaledIcon(dialog, icon.iconId, icon.size)));
    }
    if (icons.captionIconId != 0) {
        SendMessageA(dialog, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(loadScaledIcon(dialog, icons.captionIconId, icons.captionIconSize)));
    }
}

void destroyDialogIcons(HWND dialog, const DialogIcons& icons)
{
    for (std::size_t index = 0; index < icons.buttonCount; ++index)
        destroyButtonIcon(dialog, icons.buttons[index].buttonId);
    if (icons.captionIconId != 0)
        destroySmallIcon(dialog);
}

void reloadDialogIcons(HWND dialog, const DialogIcons& icons)
{
    destroyDialogIcons(dialog, icons);
    setDialogIcons(dialog, icons);
}

INT_PTR onDialogScaleChanged(HWND dialog, LPARAM lParam, const DialogIcons& icons)
{
    takeSuggestedRect(dialog, lParam);
    reloadDialogIcons(dialog, icons);
    return handledResult(dialog, 0);
}
