// A stand-in for the shell's taskbar list, registered for CLSID_TaskbarList
// in a test prefix: every call it receives is appended to taskbarlog.log
// beside this DLL as "<name> <arguments>", and answers S_OK.
#include <windows.h>
#include <shobjidl.h>

#include <cstdio>

namespace {

HMODULE thisModule;
LONG objectCount;

void logCall(const char* format, ...)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(thisModule, path, MAX_PATH);
    wchar_t* slash = wcsrchr(path, L'\\');
    wcscpy(slash != nullptr ? slash + 1 : path, L"taskbarlog.log");
    FILE* file = _wfopen(path, L"ab");
    if (file == nullptr)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(file, format, arguments);
    va_end(arguments);
    std::fputs("\n", file);
    std::fclose(file);
}

unsigned long handleNumber(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window));
}

// A COM object has to derive from its interface: this is the only way to
// give it the vtable the caller expects.
struct TaskbarLog final : ITaskbarList3 {
    LONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_ITaskbarList || iid == IID_ITaskbarList2 || iid == IID_ITaskbarList3) {
            *object = static_cast<ITaskbarList3*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            logCall("Release");
            InterlockedDecrement(&objectCount);
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE HrInit() override { logCall("HrInit"); return S_OK; }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { logCall("AddTab"); return S_OK; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { logCall("DeleteTab"); return S_OK; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { logCall("ActivateTab"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { logCall("SetActiveAlt"); return S_OK; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) override { logCall("MarkFullscreenWindow"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND window, ULONGLONG done, ULONGLONG total) override
    {
        logCall("SetProgressValue %lu %llu %llu", handleNumber(window), done, total);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND window, TBPFLAG flags) override
    {
        logCall("SetProgressState %lu %d", handleNumber(window), static_cast<int>(flags));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { logCall("RegisterTab"); return S_OK; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { logCall("UnregisterTab"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { logCall("SetTabOrder"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { logCall("SetTabActive"); return S_OK; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { logCall("ThumbBarAddButtons"); return S_OK; }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { logCall("ThumbBarUpdateButtons"); return S_OK; }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { logCall("ThumbBarSetImageList"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { logCall("SetOverlayIcon"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { logCall("SetThumbnailTooltip"); return S_OK; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { logCall("SetThumbnailClip"); return S_OK; }
};

struct Factory final : IClassFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        TaskbarLog* log = new TaskbarLog;
        InterlockedIncrement(&objectCount);
        const HRESULT result = log->QueryInterface(iid, object);
        log->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        thisModule = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (clsid != CLSID_TaskbarList) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory.QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return objectCount == 0 ? S_OK : S_FALSE;
}
