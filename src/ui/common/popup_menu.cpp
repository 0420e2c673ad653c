#include "ui/common/popup_menu.h"

POINT buttonCentre(HWND dialog, int buttonId)
{
    RECT button{};
    GetWindowRect(GetDlgItem(dialog, buttonId), &button);
    return POINT{button.left + (button.right - button.left) / 2, button.top + (button.bottom - button.top) / 2};
}

int trackAndDestroyMenu(OwnedMenu& menu, POINT screenPoint, HWND owner)
{
    const int command = static_cast<int>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                          screenPoint.x, screenPoint.y, owner, nullptr));
    menu.reset();
    return command;
}
