// Resource identifiers of the shutdown countdown window. "立即关闭" is IDCANCEL, so Esc
// presses it; "取消" is the default button, so Enter presses that one.
#pragma once

#define IDD_COUNTDOWN 250

#define IDC_COUNTDOWN_LABEL1 1700
#define IDC_COUNTDOWN_LABEL2 1701
#define IDC_COUNTDOWN_PROGRESS_BAR1 1702
#define IDC_COUNTDOWN_BUTTON2 1703
