// An empty library: the long-path test loads a copy of it from a deep folder.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
