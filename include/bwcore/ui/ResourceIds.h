// The ids of the library's dialog templates and of their controls, for the code that shows them
// and for resources/bwcore.rc, which includes this header (so it holds nothing but defines).
#pragma once

// The registry-import overwrite dialog: two texts, four buttons and the list of the three names.
#define IDD_REG_IMPORT_OVERWRITE 31263
#define IDC_REG_IMPORT_INTRO 1315
#define IDC_REG_IMPORT_QUESTION 1314
#define IDC_REG_IMPORT_YES 1310
#define IDC_REG_IMPORT_YES_TO_ALL 1309
#define IDC_REG_IMPORT_NO 1312
#define IDC_REG_IMPORT_NO_TO_ALL 1311
#define IDC_REG_IMPORT_LIST 31264

// The error report, a template of the front end's that no code of the library opens. The three
// value texts (31054 to 31056) show samples until the front end sets them.
#define IDD_ERROR_REPORT 30491
#define IDI_ERROR_REPORT 30355
#define IDC_ERROR_REPORT_CODE 31054
#define IDC_ERROR_REPORT_CATEGORY 31055
#define IDC_ERROR_REPORT_SUMMARY 31056
#define IDC_ERROR_REPORT_DESCRIPTION 31057
#define IDC_ERROR_REPORT_BUTTON1 31251
#define IDC_ERROR_REPORT_BUTTON2 31252
#define IDC_ERROR_REPORT_BUTTON3 31253
#define IDC_ERROR_REPORT_BUTTON4 31254
