// The playlist routines that work through windows: the common file dialog, list boxes, the title line.
#pragma once

#include <windows.h>

#include "media/media_device.h"
#include "players/playlist.h"

int ChooseFiles(HWND owner, const char* filters, char* buffer, DWORD size, BOOL save);
int AddSelectedFiles(HWND dialog, int listId, const char* buffer);
int FillListFromPlaylist(HWND dialog, int listId, const Playlist* list);
int FillPlaylistFromList(HWND dialog, int listId, Playlist* list);
int TakeListSelection(HWND dialog, int listId, int* index);
int ShowCurrentEntryName(HWND dialog, int controlId, const MediaDevice* device);
