// Resource identifiers of the registry cleaning page.
#pragma once

#define IDD_PAGE_REGISTRY 231

#define IDC_REGISTRY_INTRO 1520
#define IDC_SUI_CHECKBOX81 1521
#define IDC_SUI_BUTTON31 1522
#define IDC_REGLOOM_PANEL 1523
#define IDC_REGLOOM_TEXT 1524
#define IDC_REGLOOM_LINK 1525

// The thirteen list rows, created from the catalogue: tick box and "列出项目" of row i.
#define IDC_REGISTRY_TICK_FIRST 1530
#define IDC_REGISTRY_LIST_FIRST 1550

// Placement of the rows, in dialog units.
#define REGISTRY_ROWS_TOP 50
#define REGISTRY_ROW_PITCH 14
#define REGISTRY_TICK_WIDTH 140
#define REGISTRY_LIST_LEFT (MARGIN + 146)
#define REGISTRY_LIST_WIDTH 46
#define REGISTRY_ROW_HEIGHT 12
