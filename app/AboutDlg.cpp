#include "AboutDlg.h"

#include "ProductVersion.h"
#include "res/resource.h"
#include "settings/ApplicationRegistry.h"

#include <string>

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Without a version resource the text of the template stays.
    const std::wstring strPath = GetRunningProgramPath();
    std::wstring strVersion;
    if (!strPath.empty() && ReadProductVersionText(strPath.c_str(), strVersion)) {
        SetDlgItemTextW(m_hWnd, IDC_VERSION, strVersion.c_str());
    }
    return TRUE;
}
