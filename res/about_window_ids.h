// Resource identifiers of the about window, which is also the splash window.
#pragma once

#define IDD_ABOUT 251

#define IDC_ABOUT_LOGO 1720
#define IDC_ABOUT_PICTURE1 1721
#define IDC_ABOUT_PICTURE2 1722
#define IDC_ABOUT_LABEL2 1723
#define IDC_ABOUT_LABEL4 1724
#define IDC_ABOUT_LABEL5 1725
