#pragma once
// The about box: the program's icon, name, version (from its own version resource) and maker.

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
