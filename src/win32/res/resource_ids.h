// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers of the program's resources and of the dialogs' controls,
// shared by the resource script and the code.
#pragma once

// The five button images; 101 is also the main window's icon.
#define IDI_INCREMENT 101
#define IDI_DECREMENT 102
#define IDI_SKIP 103
#define IDI_SHOW_HIDE 104
#define IDI_MODE 105

// The Preferences dialog, its controls in tab order.
#define IDD_PREFERENCES 200
#define IDC_OK_BUTTON 1
#define IDC_CANCEL_BUTTON 2
#define IDC_APPLY_BUTTON 201
#define IDC_LABEL1 202
#define IDC_WINAMP_DIR 203
#define IDC_BROWSE_BUTTON 204
#define IDC_CHK_INC 205
#define IDC_CHK_DEC 206
#define IDC_LABEL2_0 207
#define IDC_HOURS 208
#define IDC_LABEL2_1 209
#define IDC_CHK_NOTIFY 210
#define IDC_KEYS_GROUP 211
#define IDC_KEY_LABEL_FIRST 212
#define IDC_KEY_FIRST 220
// Under the hours line, a note and no control: when a song played now may
// play again.
#define IDC_HOURS_NOTE 230
// "Listening": the switch, the rule's three numbers (each a box with its
// arrows, a label before it and its unit after), the notice switch, and
// Random's floor.
#define IDC_LISTEN_GROUP 240
#define IDC_CHK_LISTEN 241
#define IDC_END_SHARE_LABEL 242
#define IDC_END_SHARE 243
#define IDC_END_SHARE_SPIN 244
#define IDC_END_SHARE_UNIT 245
#define IDC_GRACE_SECS_LABEL 246
#define IDC_GRACE_SECS 247
#define IDC_GRACE_SECS_SPIN 248
#define IDC_GRACE_SECS_UNIT 249
#define IDC_SKIP_SHARE_LABEL 250
#define IDC_SKIP_SHARE 251
#define IDC_SKIP_SHARE_SPIN 252
#define IDC_SKIP_SHARE_UNIT 253
#define IDC_CHK_LISTEN_NOTIFY 254
#define IDC_CHK_FLOOR 255
#define IDC_FLOOR_SCORE 256
#define IDC_FLOOR_SCORE_SPIN 257

// The folder chooser.
#define IDD_DIR_DIALOG 300
#define IDC_DIR1 301
#define IDC_DRIVE1 302
#define IDC_DIR_OK 1
#define IDC_DIR_CANCEL 2
