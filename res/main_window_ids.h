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
// The picture at the top of the welcome, scan, finished and scan-choice pages
#define IDC_PAGE_PICTURE 1102
// Its place, in dialog units: the top right corner, beside the title
#define PAGE_PICTURE_WIDTH 80
#define PAGE_PICTURE_HEIGHT 32
#define PAGE_PICTURE_LEFT (PAGE_WIDTH - MARGIN - PAGE_PICTURE_WIDTH)
#define PAGE_PICTURE_TOP 6
// Width left for a line beside the picture
#define BESIDE_PICTURE_WIDTH (CONTENT_WIDTH - PAGE_PICTURE_WIDTH - 6)
#define PAGE_PICTURE_CONTROL CONTROL "", IDC_PAGE_PICTURE, "Static", SS_BITMAP | SS_REALSIZECONTROL, \
    PAGE_PICTURE_LEFT, PAGE_PICTURE_TOP, PAGE_PICTURE_WIDTH, PAGE_PICTURE_HEIGHT

// The stored page pictures (JPEG)
#define IDR_PG1_JPG 300
#define IDR_PG2_JPG 301
#define IDR_PG4_JPG 302
#define IDR_PG5_JPG 303

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

// Tools page
#define IDD_PAGE_TOOLS 205
#define IDC_TOOLS_RECENT_FILES 1140
#define IDC_TOOLS_DUPLICATES 1141
#define IDC_TOOLS_FONTS 1142
#define IDC_TOOLS_UNINSTALL 1143
#define IDC_TOOLS_REGISTRY 1144
#define IDC_TOOLS_FAVORITES 1145
#define IDC_TOOLS_PREFETCH 1146
// "<< 返回更多的清洁工具" on every tool page
#define IDC_BACK_TO_TOOLS 1150
