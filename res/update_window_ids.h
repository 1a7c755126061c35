// Resource identifiers of the check-for-updates window. Its "继续" button is IDOK.
#pragma once

#define IDD_UPDATE 252

#define IDC_UPDATE_HEADING 1740
#define IDC_UPDATE_TEXT 1741
