// Reversible data scrambling in place, in two independent schemes.
//
// Byte scheme: a stream is scrambled through a handle that counts the bytes processed so far
// (the stream position). The byte at position p, with the key byte k given by the call, becomes
// rotl2((byte + p mod 71) mod 256) xor k, and is restored by the reverse steps with the same p
// and k; so a stream may be scrambled and restored in pieces of any size.
// - EncryptByteEncode/Decode take a buffer holding the whole stream from position 0 and process
//   its bytes nPos to nPos + length - 1; the Ex forms take a buffer holding only this call's
//   bytes (its byte 0 is at position nPos).
// - Each call advances nPos by the length; a call of length 0, or one that would take nPos past
//   4294967295, processes nothing and leaves nPos alone. A null handle gives -1, and so does a
//   null buffer in a call that is not skipped; both change nothing. Otherwise the result is 0.
//
// Data scheme: one block in one call, of which the first min(length, 65000) bytes are scrambled.
// They are taken as 32-bit little-endian words w(i) (no alignment needed), each of which gets
// key + ENCRYPT_WORD_SALT + (7 * (i + 1)) mod 191 added (modulo 2^32); the n mod 4 bytes after the
// last whole word get the key's bytes added from the end (the last byte gets the key's lowest
// byte). Restoring subtracts the same. Always 0; null data is left alone.
//
// Handles come from a numbered heap (EncryptCreate, see MemHeap.h) or the C heap
// (EncryptCreateEx) and go back where they came from through EncryptDestroy.
#pragma once

#include <bwcore/export.h>

#include <stdint.h>

// The built-in constant of the data scheme.
#define ENCRYPT_WORD_SALT 407311529u
// The data scheme's block limit: later bytes stay as they are.
#define ENCRYPT_DATA_MAX 65000u

// The handle's record; its layout is part of the interface.
typedef struct ENCRYPTREC {
    int32_t nHeap; // the heap the record came from, 0 for the C heap
    uint32_t nPos; // bytes processed through the handle so far
} ENCRYPTREC;
typedef ENCRYPTREC* HENCRYPT;

// Null for heap 0, or when the heap cannot supply the record.
BW_EXTERN_C BWCORE_API HENCRYPT EncryptCreate(int32_t heapId);
BW_EXTERN_C BWCORE_API HENCRYPT EncryptCreateEx(void);
// A null handle is ignored.
BW_EXTERN_C BWCORE_API void EncryptDestroy(HENCRYPT handle);

BW_EXTERN_C BWCORE_API int32_t EncryptByteEncode(HENCRYPT handle, void* stream, uint32_t length,
                                                 uint8_t key);
BW_EXTERN_C BWCORE_API int32_t EncryptByteDecode(HENCRYPT handle, void* stream, uint32_t length,
                                                 uint8_t key);
BW_EXTERN_C BWCORE_API int32_t EncryptByteEncodeEx(HENCRYPT handle, void* buffer, uint32_t length,
                                                   uint8_t key);
BW_EXTERN_C BWCORE_API int32_t EncryptByteDecodeEx(HENCRYPT handle, void* buffer, uint32_t length,
                                                   uint8_t key);

BW_EXTERN_C BWCORE_API int32_t EncryptEncodeData(void* data, uint32_t length, uint32_t key);
BW_EXTERN_C BWCORE_API int32_t EncryptDecodeData(void* data, uint32_t length, uint32_t key);
