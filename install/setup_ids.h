#pragma once
// Identifiers of the setup program's window, its controls and its string table, shared by the
// resource script, the program and whatever drives the window with messages. The window is a
// dialog (class "#32770") found by its caption, which depends on the user interface language.
// "%1", "%2" in a text stand for what the code puts there.

#define SETUP_CAPTION_EN_TEXT "Quoriel Setup"
#define SETUP_CAPTION_JA_TEXT "Quoriel セットアップ"

#define IDI_SETUP 1
#define IDD_SETUP 100

// The first page: what is installed and where, the formats box, Install and Cancel.
#define IDC_INTRO 1001
#define IDC_CONTENTS 1002
#define IDC_FORMATS 1003
#define IDC_INSTALL IDOK
// The result page: the headline, each step done or the one that failed, where the command is,
// whether a restart finishes the job; then the settings program and Close.
#define IDC_HEADLINE 1010
#define IDC_STEPS 1011
#define IDC_WHERE 1012
#define IDC_OPEN_SETTINGS 1013
#define IDC_CLOSE 1014
// Cancel on the first page.
#define IDC_CANCEL IDCANCEL

// The first page. %1: the version; %2: the folder.
#define IDS_INTRO 1
#define IDS_CONTENTS 2
#define IDS_INSTALLING 3
// Each step. %1: its subject (a folder, a shortcut's name, a version).
#define IDS_STEP_CHECK_VERSION 16
#define IDS_STEP_COPY_MODULE 17
#define IDS_STEP_COPY_SETTINGS 18
#define IDS_STEP_KEEP_SETUP 19
#define IDS_STEP_REGISTER 20
#define IDS_STEP_WINDOWS11_MENU 21
#define IDS_STEP_WRITE_SETTINGS 22
#define IDS_STEP_SWITCH_PHOTO_FORMATS 23
#define IDS_STEP_SWITCH_ALL_FORMATS 24
#define IDS_STEP_SHORTCUT 25
#define IDS_STEP_OTHER_ACCOUNTS 26
#define IDS_STEP_KEEP_PACKAGE 27
#define IDS_STEP_TEST_CERTIFICATE 28
// The first page's warning of a test build.
#define IDS_TEST_BUILD 4
// How a step ended. %1: the step; %2: why (a message of the system's or of Windows 11's menu);
// %3: the error number.
#define IDS_STATE_DONE 32
#define IDS_STATE_DONE_AFTER_RESTART 33
#define IDS_STATE_KEPT 34
#define IDS_STATE_NOTED 35
#define IDS_STATE_FAILED 36
#define IDS_STATE_TOLD 37
// The result. %1: the version; %2: the module's folder or the settings shortcut's name; %3: the
// settings program's path.
#define IDS_INSTALLED 48
#define IDS_NOT_INSTALLED 49
#define IDS_PLACE_WINDOWS11_TOP 50
#define IDS_PLACE_SHOW_MORE_OPTIONS 51
#define IDS_PLACE_CLASSIC 52
#define IDS_RESTART 53
#define IDS_SETTINGS_WHERE 54
#define IDS_CANCELLED 55
#define IDS_REMOVED 56
#define IDS_NOT_REMOVED 57
#define IDS_WRONG_OPTION 58
#define IDS_LOG_NOT_WRITTEN 59
#define IDS_REMOVAL_REFUSED 60
// The window's caption, for a box of the program's own.
#define IDS_CAPTION 61
