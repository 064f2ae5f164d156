#ifndef FRAMEWORK_TEST_IDS_H
#define FRAMEWORK_TEST_IDS_H
// Resources of the framework tests' own .rc file.
#define IDD_TEST_MODELESS 9001
#define IDC_TEST_EDIT 9002
#endif
