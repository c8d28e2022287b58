#include "under_wine.h"

#include <windows.h>

bool UnderWine()
{
    // Wine's ntdll names its version; Windows' own has no such function.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
