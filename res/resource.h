// Resource identifiers shared by the resource scripts and the code.
#pragma once

#define IDI_TIDYMATE 1

// Skinned message dialog
#define IDD_MESSAGE 100
#define IDC_MESSAGE_TEXT 101
#define IDC_MESSAGE_BUTTON1 102
#define IDC_MESSAGE_BUTTON2 103
#define IDC_MESSAGE_BUTTON3 104
