// keptfloor.exe: the least a program can do to start with the texts of a kept history in
// memory, the floor beside Korvex's starts in keptrunbench. It reads the file named on its
// command line (plain UTF-16 texts of the length given after it, one after the other) into one
// string per text through a reused 1 MB buffer, makes a top-level window of the main window's
// kind, and runs until it gets WM_CLOSE. No file, or none named: it starts with no texts.

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> ReadTexts(const wchar_t* pszPath, size_t nUnits) {
    std::vector<std::u16string> vecTexts;
    HANDLE hFile = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE || nUnits == 0) {
        return vecTexts;
    }
    std::vector<char> arrChunk(1 << 20);
    std::u16string str;
    size_t nBytesOfText = 0;
    for (DWORD nGot = 0;
         ReadFile(hFile, arrChunk.data(), static_cast<DWORD>(arrChunk.size()), &nGot, nullptr) &&
         nGot > 0;) {
        for (size_t nAt = 0; nAt < nGot;) {
            if (str.empty()) {
                str.resize(nUnits);
                nBytesOfText = 0;
            }
            const size_t n = std::min<size_t>(nGot - nAt, 2 * nUnits - nBytesOfText);
            std::memcpy(reinterpret_cast<char*>(str.data()) + nBytesOfText, &arrChunk[nAt], n);
            nAt += n;
            nBytesOfText += n;
            if (nBytesOfText == 2 * nUnits) {
                vecTexts.push_back(std::move(str));
                str.clear();
            }
        }
    }
    CloseHandle(hFile);
    return vecTexts;
}

LRESULT CALLBACK FloorProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::vector<std::u16string> vecTexts =
        argc > 2 ? ReadTexts(argv[1], static_cast<size_t>(std::wcstoul(argv[2], nullptr, 10)))
                 : std::vector<std::u16string>();
    LocalFree(argv);
    WNDCLASSW wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = L"KorvexKeptFloor";
    RegisterClassW(&wc);
    CreateWindowExW(0, wc.lpszClassName, L"keptfloor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                    CW_USEDEFAULT, 400, 300, nullptr, nullptr, hInstance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return static_cast<int>(vecTexts.size() % 2); // the texts are held until the end
}
