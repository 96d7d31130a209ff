/* Ids of the installer's page templates, their controls and the program's
   icon, shared by the resource script and the code. Only #define lines:
   the resource compiler keeps nothing else of an included header. */
#pragma once

/* Templates: English and Japanese. */
#define IDD_LICENCE_EN 1005
#define IDD_LICENCE_JA 1006
#define IDD_FOLDER_EN 1007
#define IDD_FOLDER_JA 1004
#define IDD_PROGRESS_EN 1008
#define IDD_PROGRESS_JA 1003
#define IDD_FINISH_EN 1009
#define IDD_FINISH_JA 130
#define IDD_INTERRUPTED_EN 1011
#define IDD_INTERRUPTED_JA 1010

/* The program's icon, also drawn into the banner. */
#define IDI_SETUP 107

/* The frame every page shares; 2 is Cancel (IDCANCEL). */
#define IDC_BANNER 1011
#define IDC_TITLE 1012
#define IDC_BACK 1013
#define IDC_NEXT 1014

/* The pages' own controls. */
#define IDC_LICENCE_TEXT 1003
#define IDC_DISAGREE 1004
#define IDC_AGREE 1005
#define IDC_BROWSE 1006
#define IDC_PROGRESS 1007
#define IDC_README_TEXT 1009
#define IDC_FOLDER 1015
#define IDC_README_LABEL 1016
#define IDC_PROMPT 1018
