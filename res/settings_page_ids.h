// Resource identifiers of the cleaner settings page and its tabs.
#pragma once

#define IDD_PAGE_SETTINGS 270
// The tabs' sheets; the five plain category tabs share one.
#define IDD_SETTINGS_START 271
#define IDD_SETTINGS_ROWS 272
#define IDD_SETTINGS_INSTALLS 273
#define IDD_SETTINGS_OTHER 274
#define IDD_SETTINGS_USER 275
#define IDD_SETTINGS_SKIP 276

#define IDC_SETTINGS_INTRO 1700
#define IDC_SUI_PAGE_CONTROL2 1701

// "开始"
#define IDC_DRIVES_LABEL 1710
#define IDC_SUI_LIST_VIEW1 1711
#define IDC_SUI_CHECKBOX89 1712
#define IDC_TIME_BUFFER_TEXT 1713
#define IDC_SUI_CHECKBOX95 1714
#define IDC_QUICK_SET_LABEL 1715
#define IDC_SUI_BUTTON16 1716
#define IDC_SUI_BUTTON29 1717
#define IDC_SUI_BUTTON36 1718

// "6"
#define IDC_SUI_CHECKBOX4 1720
#define IDC_REGISTRY_SETTINGS_LINK 1721

// "其它"
#define IDC_OTHER_WARNING1 1725
#define IDC_OTHER_WARNING2 1726

// "自定义"
#define IDC_USER_INTRO 1730
#define IDC_USER_WARNING 1731

// "跳过"
#define IDC_SKIP_TEXT 1735
#define IDC_SUI_BUTTON53 1736
#define IDC_SUI_LIST_BOX2 1737
#define IDC_SUI_BUTTON54 1738

// Controls created in code: dot, tick box and method box of category row n (0..68), and
// tick box, kind box, text field and method box of user rule r (0..9).
#define IDC_ROW_DOT_FIRST 1750
#define IDC_ROW_TICK_FIRST 1820
#define IDC_ROW_METHOD_FIRST 1890
#define IDC_RULE_TICK_FIRST 1960
#define IDC_RULE_KIND_FIRST 1970
#define IDC_RULE_TEXT_FIRST 1980
#define IDC_RULE_METHOD_FIRST 1990

// Placement in dialog units, relative to a tab's sheet.
#define SHEET_WIDTH 348
#define SHEET_HEIGHT 206
#define SHEET_LEFT 6
#define SHEET_CONTENT_WIDTH (SHEET_WIDTH - 2 * SHEET_LEFT)
#define ROW_PITCH 16
#define ROW_HEIGHT 12
#define ROWS_TOP 6
#define INSTALLS_ROWS_TOP 6
#define OTHER_ROWS_TOP 58
#define ROW_TICK_LEFT (SHEET_LEFT + 14)
#define ROW_TICK_WIDTH 180
#define ROW_METHOD_LEFT 200
#define ROW_METHOD_WIDTH 140
#define RULES_TOP 28
#define RULE_TICK_WIDTH 48
#define RULE_KIND_LEFT (SHEET_LEFT + 52)
#define RULE_KIND_WIDTH 76
#define RULE_TEXT_LEFT (RULE_KIND_LEFT + 80)
#define RULE_TEXT_WIDTH 92
#define RULE_METHOD_LEFT (RULE_TEXT_LEFT + 96)
#define RULE_METHOD_WIDTH (SHEET_LEFT + SHEET_CONTENT_WIDTH - RULE_METHOD_LEFT)
