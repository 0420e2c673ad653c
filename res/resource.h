/* Every resource, control, string and command id of Kelvaro, kept by hand.
   This header is read by the C++ sources, by windres and rc.exe, and by the
   unit test that checks the resource script against it, so it holds nothing
   but plain #define lines. */
#ifndef KELVARO_RESOURCE_H
#define KELVARO_RESOURCE_H

/* Dialog templates */
#define IDD_ABOUT                   103
#define IDD_MAIN                    104
#define IDD_SETTINGS                107
#define IDD_OPEN_SOUND              147
#define IDD_OPEN_DOCUMENT           151

/* Icon groups */
#define IDI_APP                     101
#define IDI_READY                   133
#define IDI_RUNNING                 134
#define IDI_ABOUT                   135
#define IDI_OK                      136
#define IDI_CANCEL                  137
#define IDI_SOUNDS                  139
#define IDI_DEVELOPER               140
#define IDI_CLOSE                   141
#define IDI_OPEN_FILES              142
#define IDI_MENU                    144
#define IDI_OPTIONS                 145
#define IDI_SAVE                    146
#define IDI_PLAY                    148
#define IDI_STOP                    149
#define IDI_TRY                     150
#define IDI_ADVANCED                153
#define IDI_FILL                    154
#define IDI_EMPTY                   155
#define IDI_NAMES                   158
#define IDI_TIME_UP                 171
#define IDI_SHORTCUT                176
#define IDI_EXIT                    177
#define IDI_RESET                   179
#define IDI_RENAME                  180
#define IDI_PAUSED                  181
#define IDI_PAUSE                   182
#define IDI_REPEAT                  183

/* Cursor */
#define IDCUR_SMART                 165

/* WAVE resources */
#define IDW_SHORTCUT_DONE           130
#define IDW_SWITCH_ON               144
#define IDW_ERROR                   147
#define IDW_EVENT1                  156
#define IDW_EVENT2                  157
#define IDW_EVENT3                  158
#define IDW_SAVED                   159
#define IDW_RESET                   160
#define IDW_FILLED                  163
#define IDW_SWITCH_OFF              167
#define IDW_START                   172
#define IDW_STOP                    174
#define IDW_EXIT                    178

/* Main dialog controls */
#define IDC_MENU                    522
#define IDC_START1                  1000
#define IDC_VALUE1                  1001
#define IDC_START2                  1004
#define IDC_VALUE2                  1005
#define IDC_START3                  1008
#define IDC_VALUE3                  1009
#define IDC_EVENT1                  1012
#define IDC_EVENT2                  1013
#define IDC_EVENT3                  1014
#define IDC_KEEP_ON_TOP             1015
#define IDC_UNIT1                   1016
#define IDC_UNIT2                   1017
#define IDC_UNIT3                   1018
#define IDC_GROUP1                  1047
#define IDC_GROUP2                  1048
#define IDC_GROUP3                  1049
/* Hidden labels that name the panel controls after them for accessibility tools */
#define IDC_DURATION_LABEL1         1070
#define IDC_UNIT_LABEL1             1071
#define IDC_EVENT_LABEL1            1072
#define IDC_DURATION_LABEL2         1073
#define IDC_UNIT_LABEL2             1074
#define IDC_EVENT_LABEL2            1075
#define IDC_DURATION_LABEL3         1076
#define IDC_UNIT_LABEL3             1077
#define IDC_EVENT_LABEL3            1078

/* Settings dialog controls */
#define IDC_SET_KEEP_ON_TOP         1015
#define IDC_SET_SOUND_FILE1         1018
#define IDC_SET_SOUND_FILE2         1019
#define IDC_SET_SOUND_FILE3         1020
#define IDC_SET_OPEN_FILE1          1021
#define IDC_SET_OPEN_FILE2          1022
#define IDC_SET_OPEN_FILE3          1023
#define IDC_SET_TITLE_BAR           1024
#define IDC_SET_FLASH               1025
#define IDC_SET_SMART_CURSORS       1026
#define IDC_SET_NOTIFICATION_AREA   1060
#define IDC_SET_ALT_ICON            1027
#define IDC_SET_PLAY1               1028
#define IDC_SET_STOP1               1029
#define IDC_SET_BROWSE_SOUND1       1030
#define IDC_SET_PLAY2               1031
#define IDC_SET_STOP2               1032
#define IDC_SET_BROWSE_SOUND2       1033
#define IDC_SET_PLAY3               1034
#define IDC_SET_STOP3               1035
#define IDC_SET_BROWSE_SOUND3       1036
#define IDC_SET_BROWSE_OPEN1        1037
#define IDC_SET_BROWSE_OPEN2        1038
#define IDC_SET_BROWSE_OPEN3        1039
#define IDC_SET_TRY1                1040
#define IDC_SET_TRY2                1041
#define IDC_SET_TRY3                1042
#define IDC_SET_SOUND_LABEL1        1046
#define IDC_SET_NAME1               1047
#define IDC_SET_SOUND_LABEL2        1048
#define IDC_SET_SOUND_LABEL3        1049
#define IDC_SET_OPEN_LABEL1         1050
#define IDC_SET_OPEN_LABEL2         1051
#define IDC_SET_OPEN_LABEL3         1052
#define IDC_SET_NAME2               1055
#define IDC_SET_NAME3               1056
#define IDC_SET_ADVANCED            1057

/* File-open child templates (1119 is stc32 of the common dialogs) */
#define IDC_PREVIEW_PLAY            1027
#define IDC_PREVIEW_STOP            1028
#define IDC_OPEN_STANDARD_AREA      1119

/* About dialog controls */
#define IDC_ABOUT_LINK_CONTRIBUTOR  213
#define IDC_ABOUT_LINK_MUSIC        214
#define IDC_ABOUT_VERSION           1026
#define IDC_ABOUT_LINK_MAKER        1059

/* Name editor: its edit control */
#define IDC_NAME_EDIT               101

/* Strings */
#define IDS_STOP                    104
#define IDS_START                   105
#define IDS_MEDIA_FOLDER            106
#define IDS_WAV_FILTER              109
#define IDS_TITLE                   110
#define IDS_FORMAT_HMS              111
#define IDS_FORMAT_MS               112
#define IDS_FORMAT_S                113
#define IDS_LINK_FAILED             114
#define IDS_VERSION_LINE            115
#define IDS_SOUND_FILE_TITLE        116
#define IDS_DOCUMENT_FILE_TITLE     117
#define IDS_ALL_FILES_FILTER        118
#define IDS_SHORTCUT_NAME           119
#define IDS_SECONDS                 120
#define IDS_MINUTES                 121
#define IDS_HOURS                   122
#define IDS_SHORTCUT_DESCRIPTION    123
#define IDS_EXIT_CAPTION            124
#define IDS_ONE_RUNNING             126
#define IDS_MANY_RUNNING            127
#define IDS_PAUSED_SUFFIX           128
#define IDS_TIME_IS_UP              129
#define IDS_BUILT_IN_SOUND1         131
#define IDS_BUILT_IN_SOUND2         132
#define IDS_BUILT_IN_SOUND3         133
#define IDS_DURATION_SUFFIX         135
#define IDS_UNIT_SUFFIX             136
#define IDS_EVENT_SUFFIX            137
#define IDS_HOUR_LETTER             201
#define IDS_MINUTE_LETTER           202
#define IDS_SECOND_LETTER           203
#define IDS_SEPARATOR               204
#define IDS_EXAMPLE_NAME1           601
#define IDS_EXAMPLE_NAME2           602
#define IDS_EXAMPLE_NAME3           603
#define IDS_EXAMPLE_SOUND_LABEL1    631
#define IDS_EXAMPLE_SOUND_LABEL2    632
#define IDS_EXAMPLE_SOUND_LABEL3    633
#define IDS_EXAMPLE_OPEN_LABEL1     661
#define IDS_EXAMPLE_OPEN_LABEL2     662
#define IDS_EXAMPLE_OPEN_LABEL3     663
#define IDS_EXAMPLE_SOUND_FILE1     731
#define IDS_EXAMPLE_SOUND_FILE2     732
#define IDS_EXAMPLE_SOUND_FILE3     733
#define IDS_EXAMPLE_OPEN_TARGET1    761
#define IDS_EXAMPLE_OPEN_TARGET2    762
#define IDS_EXAMPLE_OPEN_DOCUMENT3  763
#define IDS_DEFAULT_TIMER_NAME1     801
#define IDS_DEFAULT_TIMER_NAME2     802
#define IDS_DEFAULT_TIMER_NAME3     803
#define IDS_DEFAULT_SOUND_LABEL1    831
#define IDS_DEFAULT_SOUND_LABEL2    832
#define IDS_DEFAULT_SOUND_LABEL3    833
#define IDS_DEFAULT_OPEN_LABEL1     861
#define IDS_DEFAULT_OPEN_LABEL2     862
#define IDS_DEFAULT_OPEN_LABEL3     863

/* Menu commands; each is also the string id of its text */
#define IDM_CLOSE_MENU              901
#define IDM_ABOUT                   902
#define IDM_OTHER_SETTINGS          903
#define IDM_SOUND_EVENTS            904
#define IDM_OPEN_EVENTS             905
#define IDM_TIMER_NAMES             906
#define IDM_SAVE_ALL                907
#define IDM_DESKTOP_SHORTCUT        908
#define IDM_EXIT                    909
#define IDM_SOUNDS_SECTION          910
#define IDM_SOUNDS_RESET            911
#define IDM_SOUNDS_FILL             912
#define IDM_OPEN_SECTION            913
#define IDM_OPEN_RESET              914
#define IDM_OPEN_FILL               915
#define IDM_NAMES_SECTION           916
#define IDM_NAMES_RESET             917
#define IDM_NAMES_FILL              918
#define IDM_EXIT_WITH_SOUND         919
#define IDM_OPTIONS_SECTION         920
#define IDM_OPTIONS_RESET           921
#define IDM_MODIFY_NAME             922
#define IDM_RESET_ICON              923
#define IDM_RESET_NAME              924
#define IDM_PAUSE                   925
#define IDM_RESUME                  926
#define IDM_REPEAT                  927

/* Private commands and messages of the main dialog */
#define ID_EXIT_WITH_SOUND          0x7FFB
#define ID_EXIT                     0x7FFC
#define ID_TIME_UP3                 0x7FFD
#define ID_TIME_UP2                 0x7FFE
#define ID_TIME_UP1                 0x7FFF
#define WM_NAME_EDITED3             0x7FFD
#define WM_NAME_EDITED2             0x7FFE
#define WM_NAME_EDITED1             0x7FFF
#define WM_NAME_EDIT_ENTER          0x7FFE
#define WM_NAME_EDIT_ESCAPE         0x7FFF
#define ID_TICK_TIMER               101
#define ID_DUE_TIMER                102

#endif
