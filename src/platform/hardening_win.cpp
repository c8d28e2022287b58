#include "hardening_os.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

namespace {

// A crash ends the process at once: Windows Error Reporting would otherwise show its
// dialog and may keep a dump holding the passwords.
LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* exception)
{
    ::TerminateProcess(::GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Asked of kernel32 by name, so that no import of wer.dll is resolved through the
// program's folder. Reports that still happen (fail-fast ends skip the filter above) carry
// no heap and show nothing.
void KeepHeapOutOfReports()
{
    using WerSetFlagsFunction = HRESULT(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (!kernel)
        return;
    auto setFlags = reinterpret_cast<WerSetFlagsFunction>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "WerSetFlags")));
    constexpr DWORD kNoHeap = 0x1; // WER_FAULT_REPORTING_FLAG_NOHEAP
    constexpr DWORD kNoUi = 0x20;  // WER_FAULT_REPORTING_NO_UI
    if (setFlags)
        setFlags(kNoHeap | kNoUi);
}

} // namespace

void HardenThisSystem()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndAtOnce);
    KeepHeapOutOfReports();

    // Libraries loaded from now on come from the system folder only; the program's folder
    // and the current folder are no longer searched.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    ::SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}
