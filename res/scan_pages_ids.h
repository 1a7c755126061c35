// Resource identifiers of the scan page and the results page.
#pragma once

#define IDD_PAGE_SCAN 220
#define IDD_PAGE_RESULTS 221

// Scan page
#define IDC_LIST_VIEW1 1400
#define IDC_LABEL17 1401
#define IDC_LABEL14 1402
#define IDC_LABEL11 1403
#define IDC_SUI_BUTTON9 1404

// Results page
#define IDC_TREE_VIEW1 1420
#define IDC_LABEL2 1421
#define IDC_LABEL3 1422
#define IDC_LABEL95 1423
#define IDC_LABEL96 1424
#define IDC_SUI_BUTTON6 1425
#define IDC_SUI_BUTTON38 1426
#define IDC_SUI_BUTTON11 1427
#define IDC_BUTTON2 1428
#define IDC_LABEL88 1429
#define IDC_PROGRESS_BAR1 1430
