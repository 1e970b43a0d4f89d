// Resource and command ids; only #defines, so both windres and the compiler include it.
#pragma once

// Dialog templates
#define IDD_MAINPANEL           103
#define IDD_CDPANEL             104
#define IDD_MIDIPANEL           105
#define IDD_SOUNDPANEL          106
#define IDD_MIDIPLAYLIST        108
#define IDD_CDPLAYLIST          109
#define IDD_SOUNDPLAYLIST       110
#define IDD_RECORDREVIEW        123
#define IDD_PROPERTIES          159
#define IDD_ABOUTBOX_NAME       "ABOUTBOX"

// Menus and accelerators (named resources; windres upper-cases names)
#define IDR_MAIN_NAME           "MAIN"
#define IDR_TRAY_NAME           "TRAY"

// Icons and cursor
#define IDI_VELUTRA             147
#define IDI_ICON148             148
#define IDI_ICON149             149
#define IDI_ICON150             150
#define IDI_ICON151             151
#define IDI_ICON152             152
#define IDI_ICON153             153
#define IDI_ICON154             154
#define IDI_ICON155             155
#define IDI_SMALL               156
#define IDI_ICON157             157
#define IDCUR_HAND                146

// Strings
#define IDS_RECORDING_BUSY      1
#define IDS_NO_CD               2
#define IDS_CLEAR_PLAYLIST      3
#define IDS_NOT_AUDIO_CD        4
#define IDS_NO_HELP             5
#define IDS_PLAYLIST_EMPTY      6
#define IDS_DEVICE_UNAVAILABLE  7
#define IDS_TRACK               8
#define IDS_MUSIC               9
#define IDS_SOUND               10
#define IDS_RECORD              11
#define IDS_EMPTY               12
#define IDS_RECORDING           13

// Panel controls
#define IDC_CD                  1000
#define IDC_MIDI                1001
#define IDC_SOUND               1002
#define IDC_MIXER               1003
#define IDC_POWER               1004
#define IDC_NEXT                1005
#define IDC_RECORD              1006
#define IDC_STOP                1007
#define IDC_PAUSE               1008
#define IDC_FORWARD             1009
#define IDC_REWIND              1010
#define IDC_RECORDEND           1011
#define IDC_BACK                1012
#define IDC_PLAYLIST            1013
#define IDC_EJECT               1014
#define IDC_ADD                 1015
#define IDC_DISPLAY             1016
#define IDC_MINIMIZE            1018
#define IDC_PROPERTIES          1019
#define IDC_TRACK               1020
#define IDC_LOOP                1022
#define IDC_LIST                1023
#define IDC_PLAY                1024
#define IDC_HIDDEN_X            1025
#define IDC_BANNER              1026
#define IDC_TRAYOPTION          1028
#define IDC_FORMAT              1029

// Dialog push buttons beside IDOK and IDCANCEL
#define IDC_REMOVE              3
#define IDC_CLEAR               4
#define IDC_PLAYSTOP            3

// About box texts
#define IDC_ABOUT_VERSION       402
#define IDC_ABOUT_OWNER         404
#define IDC_ABOUT_NOTE          406

// Commands
#define IDM_NEW                 100
#define IDM_OPEN                101
#define IDM_SAVE                102
#define IDM_SAVEAS              103
#define IDM_PRINT               104
#define IDM_PRINTSETUP          105
#define IDM_EXIT                106
#define IDM_UNDO                200
#define IDM_CUT                 201
#define IDM_COPY                202
#define IDM_PASTE               203
#define IDM_DELETE              204
#define IDM_SELECTALL           205
#define IDM_HELP_CONTENTS       300
#define IDM_HELP_SEARCH         301
#define IDM_HELP_HELP           302
#define IDM_ABOUT               303
#define IDM_HELP_FINDER         304
#define IDM_CDSTART             40001
#define IDM_RANDOM              40002
#define IDM_SEQUENTIAL          40003
#define IDM_MIXER               40005
#define IDM_CDPLAYER            40006
#define IDM_MIDIPLAYER          40007
#define IDM_SOUNDPLAYER         40008
#define IDM_REGULAR             40009
#define IDM_MINIMIZE            40010
#define IDM_PROPERTIES          40012

// Skin bitmaps: panel backgrounds (256-colour and true-colour art)
#define IDB_MAIN_8              102
#define IDB_CD_8                103
#define IDB_SOUND_8             104
#define IDB_MIDI_8              105
#define IDB_MAIN_24             146
#define IDB_CD_24               147
#define IDB_MIDI_24             148
#define IDB_SOUND_24            149

// Skin bitmaps: button faces (normal, alternative normal, pressed)
#define IDB_MIDI                165
#define IDB_CD                  166
#define IDB_SOUND               167
#define IDB_MIXER               168
#define IDB_REWIND              169
#define IDB_FORWARD             170
#define IDB_POWER               171
#define IDB_MINIMIZE            173
#define IDB_PROPERTIES          174
#define IDB_PLAY                175
#define IDB_NEXT                176
#define IDB_STOP                177
#define IDB_PAUSE               178
#define IDB_EJECT               179
#define IDB_BACK                180
#define IDB_RECORD              181
#define IDB_CDLIST              182
#define IDB_MIDILIST            186
#define IDB_SOUNDLIST           187
#define IDB_PLAY_DOWN           188
#define IDB_PLAY_ON             189
#define IDB_STOP_DOWN           190
#define IDB_PAUSE_DOWN          191
#define IDB_BACK_DOWN           192
#define IDB_REWIND_DOWN         193
#define IDB_NEXT_DOWN           194
#define IDB_FORWARD_DOWN        195
#define IDB_EJECT_DOWN          196
#define IDB_RECORD_DOWN         197
#define IDB_MIDI_ON             199
#define IDB_CD_ON               200
#define IDB_SOUND_ON            201
#define IDB_MIDILIST_ON         202
#define IDB_CDLIST_ON           203
#define IDB_SOUNDLIST_ON        204
#define IDB_BANNER_8            205
#define IDB_BANNER_24           206
#define IDB_CD_DOWN             207
#define IDB_MIDI_DOWN           208
#define IDB_MIXER_DOWN          209
#define IDB_SOUND_DOWN          210
#define IDB_RECORD_ON           212
#define IDB_POWER_DOWN          213
#define IDB_MINIMIZE_DOWN       214
#define IDB_PROPERTIES_DOWN     215
#define IDB_CDLIST_DOWN         216
#define IDB_MIDILIST_DOWN       217
#define IDB_SOUNDLIST_DOWN      218
