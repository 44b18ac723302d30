// List storage: string lists to and from text files and buffers, and copies of lists.
//
// Contract:
// - The text form is 8-bit text, one item per line, no header, no quoting. Written: the items
//   separated by CR LF, no break after the last item, an empty list giving an empty file. Read: a
//   line ends at a CR or an LF, and a CR or LF right after that byte belongs to the same break
//   (CR LF, LF CR, CR CR and LF LF are one break each; CR LF CR LF has an empty line between its
//   two breaks). The text after the last break is the last item, even when empty, unless it
//   starts with the end-of-file mark 26. An empty file gives no items. Lines are found character
//   by character, so the second byte of a double-byte character is never taken for a break.
// - Lines read are copied into the list after its current node, in order, each becoming current,
//   as ListInsert does.
// - Reading goes in chunks of 8192 bytes: a line with its break must fit in one. A longer line is
//   read as several items of up to 8192 bytes each; in a double-byte code page each piece ends
//   before a lead byte, so that no character is split between two items.
// - The writer assembles each piece in a buffer of 1025 bytes: the first item and its text, then
//   CR LF and each later item. Items too long for it (above 1024, later 1022 bytes) are written
//   whole all the same, the break and the text in separate writes.
// - Both file functions take their buffers from the shared list heap (List.h), whatever heap the
//   list uses, and fail while it has never been created.
#pragma once

#include <bwcore/export.h>
#include <bwcore/runtime/List.h>

#include <stdint.h>

// String lists only (0 for other kinds). 1 when the file was read to its end; 0 when it cannot be
// opened or the read buffer cannot be allocated. A line that cannot be stored is left out.
BW_EXTERN_C BWCORE_API int32_t ListReadFromFile(HLIST list, const char* path);

// Inserts every line of the buffer that a break completes, as ListReadFromFile does, except the
// text after the last break and a line whose only break is the buffer's last byte: the buffer is
// taken as a chunk that more text follows. A length of 0 stores a terminator in the buffer's
// first byte and inserts one empty item. The buffer must be writable; break bytes are replaced
// while a line is copied and restored. Record lists take item-size bytes from each line's start
// (zeros beyond the buffer's end); pointer lists take nothing. 0 for a null list or buffer,
// else 1.
BW_EXTERN_C BWCORE_API int32_t ListFromBuffer(HLIST list, char* buffer, uint32_t length);

// String lists only (0 for other kinds). Replaces the file with the items from the head up to the
// first node without an item, and returns 1; 0 when the file cannot be created or the buffer
// cannot be allocated (the file is then left empty). A failed write does not stop the others and
// does not change the result. The list's current node ends on the last item written.
BW_EXTERN_C BWCORE_API int32_t ListWriteToFile(HLIST list, const char* path);

// A new list of the same kind in the shared list heap, holding copies of the items from the head
// up to the first node without an item, in order; null for a null handle or a pointer list. When
// a copy cannot be allocated the copy stops there and what was copied is returned; an item whose
// node cannot be allocated is left out. The source's current node ends on the last node visited.
BW_EXTERN_C BWCORE_API HLIST ListCopy(HLIST list);
// As ListCopy, but the new list and its copies live in the source list's heap.
BW_EXTERN_C BWCORE_API HLIST ListCopyEx(HLIST list);
