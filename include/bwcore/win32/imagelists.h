// Image lists of the common controls, for Linux: lists of icons of one size, in the order added.
//
// A list keeps its own copy of every icon added, at the list's size (an icon of another size is
// stretched), so the caller may destroy its icon afterwards. Functions given a handle that is not
// a live list fail with their failure value: 0 from ImageList_GetImageCount, -1 from
// ImageList_ReplaceIcon, null from ImageList_GetIcon, FALSE from ImageList_Destroy.
#pragma once

#include <bwcore/win32/types.h>

BW_DECLARE_HANDLE(HIMAGELIST);

#define ILC_MASK 0x00000001
#define ILD_NORMAL 0x00000000

// A new, empty list of cx by cy images; null when either size is below 1. Only ILC_MASK lists
// are made (the images keep their masks whatever the flags); cInitial and cGrow are hints.
BW_EXTERN_C BWAFX_API HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial,
                                                         int cGrow);
// Index -1 appends a copy of the icon and returns its index; an index in the list replaces that
// image and returns the index. -1 for any other index, and when hicon is not a live icon.
BW_EXTERN_C BWAFX_API int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
BW_EXTERN_C BWAFX_API int WINAPI ImageList_GetImageCount(HIMAGELIST himl);
// A new icon, which the caller destroys, with image i at the list's size; null for an index
// outside the list. Flags: ILD_NORMAL.
BW_EXTERN_C BWAFX_API HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
// Destroys the list and its images.
BW_EXTERN_C BWAFX_API BOOL WINAPI ImageList_Destroy(HIMAGELIST himl);
