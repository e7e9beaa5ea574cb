#pragma once

#include <QString>

// The game's message texts, by the numbers the code uses for them. Texts with "%s" / "%d" are
// filled by their callers; a missing number gives an empty text.
QString GP_LoadString(int id);
bool GP_HasString(int id);

// Numbers of the texts that code names directly.
enum GP_StringId : int {
    IDS_MODIFY_NOT_ALLOWED = 185,
    IDS_MODIFY_SCREEN_TOO_SMALL = 186,
    IDS_NAME_TOO_LONG = 187,
    IDS_AUTHOR_TOO_LONG = 188,
    IDS_NAME_EMPTY = 189,
    IDS_NAME_EXISTS = 190,
    IDS_DISK_FULL = 191,
    IDS_MULTIPLE_SELECTED = 192,
    IDS_IMAGE_LOAD_ERROR = 194,
    IDS_IMAGE_SIZE_ERROR = 195,
    IDS_NONE_SELECTED = 198,
    IDS_ARE_YOU_SURE = 199,
    IDS_LOADING_PUZZLE = 203,
    IDS_ALREADY_SOLVED = 204,
    IDS_SCRAMBLING_PUZZLE = 205,
    IDS_SAVING_PUZZLE = 206,
    IDS_NEW = 207,
    IDS_HOVER_SIMPLE = 209,
    IDS_HOVER_AUTHOR_SOLVED = 210,
    IDS_HOVER_SOLVED = 211,
    IDS_HOVER_AUTHOR = 212,
    IDS_OK = 214,
    IDS_CANCEL = 215,
    IDS_YES = 216,
    IDS_NO = 217,
    IDS_HINTS_USED = 219,
    IDS_RELAUNCH = 220,
    IDS_CONTINUE = 228,
    IDS_CANNOT_CREATE_FILE = 229,
    IDS_GAME_PAUSED = 239,
    IDS_CONNECTION_ERROR = 243,
    IDS_UPDATE_FOUND = 249,
    IDS_DIFFERENT_NAME = 250,
    IDS_NAME_UNSAFE = 251,
    IDS_DOWNLOADING_PUZZLE = 556,
    IDS_DOWNLOADING_UPDATE = 557,
    IDS_UPDATE_NEEDED = 558,
    IDS_UPDATE = 559,
    IDS_PUZZLE_UNREADABLE = 601,
};
