// The entry point of korvex.exe.

#include <windows.h>

#include "KorvexApp.h"

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, PWSTR /*pszCmdLine*/,
                    int /*nCmdShow*/) {
    CKorvexApp app;
    if (!app.InitInstance(GetCommandLineW())) {
        return 0;
    }
    return app.Run();
}
