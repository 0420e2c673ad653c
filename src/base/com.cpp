#include "base/com.h"

#include <objbase.h>

HRESULT ComSession::start()
{
    if (started_)
        return S_OK;
    const HRESULT result = CoInitialize(nullptr);
    if (result == S_OK) {
        started_ = true;
        return S_OK;
    }
    if (result == S_FALSE) {
        CoUninitialize();
        return -1;
    }
    return result;
}

void ComSession::stop()
{
    if (started_) {
        CoUninitialize();
        started_ = false;
    }
}
