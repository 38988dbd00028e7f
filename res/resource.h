// Resource and control identifiers of the program; the numbers are fixed.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_REPORT 103
#define IDD_SEARCH 104

// Strings.
#define IDS_ABOUTBOX 101
#define IDS_COLUMN_NAME 102
#define IDS_COLUMN_POV 103
#define IDS_COLUMN_MAP 104
#define IDS_COLUMN_MODIFIED 105

// The game list's tip: labels, then each setting's names in the game's order.
#define IDS_TIP_LENGTH 200
#define IDS_TIP_RESTORED 201
#define IDS_TIP_GAME_TYPE 202
#define IDS_TIP_SPEED 203
#define IDS_TIP_POPULATION 204
#define IDS_TIP_MAP_SIZE 205
#define IDS_TIP_DIFFICULTY 206
#define IDS_TIP_STARTING_AGE 207
#define IDS_TIP_VICTORY 208
#define IDS_TIP_REVEAL_MAP 209
#define IDS_TIP_LOCK_TEAMS 210
#define IDS_TIP_YES 211
#define IDS_TIP_NO 212
#define IDS_SPEED_FIRST 220
#define IDS_MAP_SIZE_FIRST 230
#define IDS_DIFFICULTY_FIRST 240
#define IDS_AGE_FIRST 250
#define IDS_VICTORY_FIRST 260
#define IDS_GAME_TYPE_FIRST 270
#define IDS_REVEAL_MAP_FIRST 280

// The game report: its texts, the players' column headings (name,
// civilisation, team, result, three ages, score, rating) and the list's menu.
#define IDS_REPORT_FOLDER 300
#define IDS_REPORT_NOT_LOADED 301
#define IDS_REPORT_VERSION 302
#define IDS_REPORT_RESTORED_AT 303
#define IDS_REPORT_WON 304
#define IDS_REPORT_RESIGNED 305
#define IDS_REPORT_NO 306
#define IDS_REPORT_YES 307
#define IDS_REPORT_FACT 308
#define IDS_REPORT_VALUE 309
#define IDS_REPORT_COLUMN_FIRST 310
#define IDS_REPORT_UNKNOWN_EDITION 319
#define IDS_REPORT_PNG_FILTER 320
#define IDS_REPORT_CAPTION 321
// The players' actions per minute, the build orders' heading and the chart's
// file name's ending.
#define IDS_REPORT_APM 322
#define IDS_REPORT_BUILD_ORDER 323
#define IDS_REPORT_CHART_SUFFIX 324
// When the game was played, where its recording states it.
#define IDS_REPORT_PLAYED_AT 325
#define IDS_MENU_DETAILS 330
#define IDS_MENU_OPEN 331
// The list's shortcut menu: every edition's recordings, on request.
#define IDS_MENU_ALL_RECORDINGS 360

// The search window: "any" and the results' choices, its column headings
// (date, players, map, length, recordings, actions per minute, counts) and
// the list's menu item.
#define IDS_SEARCH_ANY 340
#define IDS_SEARCH_WON 341
#define IDS_SEARCH_LOST 342
#define IDS_SEARCH_COLUMN_FIRST 343
#define IDS_MENU_SEARCH 350

// Icon, menu and bitmap.
#define IDI_MAINFRAME 128
#define IDM_MAINFRAME 129
#define IDB_UP 133

// System-menu command that opens the About box.
#define IDM_ABOUTBOX 0x0010
// File > Exit.
#define IDM_FILE_EXIT 32771
// The game list's shortcut menu.
#define IDM_LIST_DETAILS 32772
#define IDM_LIST_OPEN 32773
#define IDM_LIST_SEARCH 32774
#define IDM_LIST_ALL_RECORDINGS 32780

// Controls of the main window.
#define IDC_GAME_LIST 1001
#define IDC_CHAT 1002
#define IDC_BROWSE 1003
#define IDC_FOLDER_PATH 1004
#define IDC_NAME1 1005
#define IDC_NAME2 1006
#define IDC_NAME3 1007
#define IDC_NAME4 1008
#define IDC_NAME5 1009
#define IDC_NAME6 1010
#define IDC_NAME7 1011
#define IDC_NAME8 1012
#define IDC_TEAM1 1013
#define IDC_FILTER 1014
#define IDC_CIV5 1015
#define IDC_CIV6 1016
#define IDC_FILTER_BUTTON 1017
#define IDC_TEAM2 1018
#define IDC_TEAM3 1019
#define IDC_TEAM4 1020
#define IDC_TEAM5 1021
#define IDC_TEAM6 1022
#define IDC_TEAM7 1023
#define IDC_UP 1024
#define IDC_TEAM8 1025
#define IDC_CIV7 1028
#define IDC_CIV8 1029
#define IDC_CIV1 1030
#define IDC_CIV2 1031
#define IDC_CIV3 1032
#define IDC_CIV4 1033

// Controls of the report window.
#define IDC_REPORT_STATUS 1101
#define IDC_REPORT_FACTS 1102
#define IDC_REPORT_PLAYERS 1103
#define IDC_REPORT_SAVE 1104
#define IDC_REPORT_COPY 1105
#define IDC_REPORT_CHAT 1106
#define IDC_REPORT_BUILD 1107
#define IDC_REPORT_SAVE_CHART 1108

// Controls of the search window.
#define IDC_SEARCH_FOLDER 1201
#define IDC_SEARCH_PLAYER 1202
#define IDC_SEARCH_CIV 1203
#define IDC_SEARCH_MAP 1204
#define IDC_SEARCH_RESULT 1205
#define IDC_SEARCH_FROM 1206
#define IDC_SEARCH_TO 1207
#define IDC_SEARCH_FIND 1208
#define IDC_SEARCH_RESULTS 1209
#define IDC_SEARCH_STATUS 1210
#define IDC_SEARCH_PROGRESS 1211
#define IDC_SEARCH_UPDATE 1212
#define IDC_SEARCH_STOP 1213
#define IDC_SEARCH_REPORT 1214
#define IDC_SEARCH_SELECT 1215
