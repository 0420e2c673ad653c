#include "base/process.h"

#include "base/system_library.h"

AppState app;

namespace {

HMODULE loadOnce(OwnedModule& module, const char* name)
{
    if (!module)
        module.reset(loadSystemLibrary(name));
    return module.get();
}

} // namespace

// winmm takes several milliseconds to load and start-up plays nothing.
HMODULE winmmModule()
{
    return loadOnce(app.winmmModule, "winmm.dll");
}

// Loading the common dialogs brings in the print spooler's libraries as well.
HMODULE comdlg32Module()
{
    return loadOnce(app.comdlg32Module, "comdlg32.dll");
}
