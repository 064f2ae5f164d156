#pragma once
// The programs whose copies are never recorded ("Never record copies from"): program file names
// separated by semicolons ("Vault.exe; SecretStore.exe"), the spaces around each name
// ignored, compared without regard to case. Only the file name counts, never the folder.

#include <string>
#include <string_view>
#include <vector>

class CProgramNameList {
public:
    CProgramNameList() = default;
    // The setting's text; an empty name (";;", a semicolon at the end) lists nothing.
    explicit CProgramNameList(std::u16string_view strSetting);

    bool IsEmpty() const { return m_arrNames.empty(); }
    // Whether the program at the path (a file name after the last '\' or '/', or a file name
    // alone) is listed. An empty path lists nothing.
    bool ListsProgramAt(std::u16string_view strPath) const;

private:
    std::vector<std::u16string> m_arrNames; // folded (DefaultCaseFold)
};
