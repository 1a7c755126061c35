// Resource identifiers of the progress window. Its "取消" button is IDCANCEL, so Esc and
// the button send the same command.
#pragma once

#define IDD_PROGRESS 230

#define IDC_PROGRESS_TITLE 1500
#define IDC_ANIMATE1 1501
#define IDC_PROGRESS_LABEL1 1502
#define IDC_SUI_PROGRESS_BAR1 1503
#define IDC_SUI_PROGRESS_BAR2 1504
