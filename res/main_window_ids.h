// Resource identifiers of the main window and its pages.
#pragma once

#define IDD_MAIN 200
#define IDD_PAGE_WELCOME 201
#define IDD_PAGE_FINISHED 202
#define IDD_PAGE_SCAN_CHOICE 203
#define IDD_PAGE_BLANK 204

// Frame
#define IDC_HEADER_BAND 1100
// Every page's title line
#define IDC_PAGE_TITLE 1101

// Welcome page
#define IDC_WELCOME_TEXT 1110
#define IDC_FAQ_LINK 1111
#define IDC_SUI_BUTTON1 1112

// Scan choice page
#define IDC_CLEAN_PC_BUTTON 1120
#define IDC_REMOVE_TRACKS_BUTTON 1121
#define IDC_RUN_SETTINGS_BUTTON 1122
#define IDC_CHANGE_SETTINGS_BUTTON 1123

// Finished page
#define IDC_FINISHED_PROMPT 1130
#define IDC_FINISHED_EXIT_BUTTON 1131
#define IDC_FINISHED_SETTINGS_BUTTON 1132
#define IDC_FINISHED_TOOLS_BUTTON 1133
#define IDC_FINISHED_UNDO_BUTTON 1134
