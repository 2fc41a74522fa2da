// Resource and command identifiers of Corvane. Plain #defines so that the resource compiler
// reads them too.
#pragma once
#include "framework/framework_ids.h"

// Main frame: menu, accelerators, main toolbar, icon and document template string.
#define IDR_MAINFRAME 128
#define IDR_COMPUTERS_TOOLBAR 200

// Strings.
#define IDS_APP_VERSION_TITLE 61213
#define IDS_MAKER_WEB_ADDRESS 61205

// Dialogs and form views.
#define IDD_ABOUTBOX 100
#define IDD_PLENOR_VIEW 101
#define IDD_OBJECT_TREE 130
#define IDD_MESSAGE 139
#define IDD_UNREGISTERED 147
#define IDD_OPTIONS 160
#define IDD_WAIT 179
#define IDD_TAB_VIEW 192

// Icons.
#define IDI_WAIT 181

// Commands of the menus and toolbars.
#define ID_UNREGISTER 1001
#define ID_REFRESH_LIST 1008
#define ID_COMPARE_WITH 1011
#define ID_REMOVE_FROM_REGISTRY 1014
#define ID_REGISTER 1033
#define ID_GOTO_FILE_LOCATION 32773
#define ID_RUN_EXE_SERVER 32774
#define ID_GENERATE_REPORT 32780
#define ID_OPTIONS 32781
#define ID_VIEW_IN_IE 32790
#define ID_HELP_CONTENTS 32791
#define ID_WEB_SITE 32796
#define ID_CHECK_FOR_UPDATES 32800
#define ID_FIND_MISSING_DEPENDENCIES 32802
#define ID_JUMP_CLSID 32804
#define ID_JUMP_PROGID 32805
#define ID_JUMP_TYPELIB 32806
#define ID_COMPARE_SELECTED_WITH_COMPUTERS 32807
#define ID_COMPUTER_LIST 32808
#define ID_DISPLAY_FILE_LOCATION 32809
#define ID_DISPLAY_PROGID 32810
#define ID_DISPLAY_CLSID 32811
#define ID_DISPLAY_TYPELIB 32812
#define ID_SELECT_ALL 32815
#define ID_COMPARE_ALL_WITH_COMPUTERS 32816
#define ID_COMPARE_WITH_NETWORK 32819

// The status bar's item-count pane shares its id with Jump to CLSID.
#define ID_INDICATOR_ITEMS 32804

// Controls.
#define IDC_ATTRIBUTE_LIST 1002
#define IDC_CATEGORY_TABS 1003
#define IDC_MESSAGE_TEXT 1024
#define IDC_DELETE_FILE 1025
#define IDC_UNREGISTERED_NAME 1026
#define IDC_UNREGISTERED_PATH 1027
#define IDC_DETAIL_TABS 1029
#define IDC_DISPLAY_MISSING 1035
#define IDC_DISPLAY_INSTALLED 1036
#define IDC_DISPLAY_IN_LIST 1037
#define IDC_AFTER_REGISTER 1038
#define IDC_AFTER_UNREGISTER 1039
#define IDC_AFTER_REMOVE 1040
#define IDC_ABOUT_TITLE 1043
#define IDC_OBJECT_LIST 1045
#define IDC_ABOUT_LINK 1047

// Bitmaps of the object list and the start-up window.
#define IDB_EXE_SERVER 136
#define IDB_MISBEHAVED 137
#define IDB_CONTROL 138
#define IDB_DLL_SERVER 139
#define IDB_LOGO 167
#define IDB_MISSING_DEPENDENCY 197

// The start-up progress window.
#define IDD_PROGRESS 165
#define IDC_PROGRESS_LINE 1005
#define IDC_PROGRESS_TITLE 1048
#define IDC_PROGRESS_LOGO 1050
