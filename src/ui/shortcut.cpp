// PLACEHOLDER: replaced by the owner of this file.
#include "ui/shortcut.h"
bool createDesktopShortcut() { return false; }
