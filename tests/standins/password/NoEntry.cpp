// A PASSWORD.CPL that loads but offers no VerifyScreenSavePwd.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
