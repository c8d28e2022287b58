// A library that lies only in the test programs' own folder, where Windows would look for
// it first unless told to search the system folder alone.
extern "C" __declspec(dllexport) int CofferlyDllProbe()
{
    return 1;
}
