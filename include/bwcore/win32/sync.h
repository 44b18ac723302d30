// Synchronisation objects and threads, for Linux: events, semaphores, threads and waiting on them.
//
// Their handles share one handle space with the file handles: CloseHandle closes any of them, and
// a value that names no open object of any kind fails with ERROR_INVALID_HANDLE. Closing a handle
// does not end the object while a thread still waits on it or, for a thread, while it runs.
//
// Named objects are not offered: a non-null name fails with ERROR_INVALID_PARAMETER. Security
// attributes are accepted and not used.
#pragma once

#include <bwcore/win32/files.h>
#include <bwcore/win32/types.h>

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

#define ERROR_TOO_MANY_POSTS 298L

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

// An event, manual-reset (stays signalled until ResetEvent) or auto-reset. Setting an auto-reset
// event releases exactly one waiting thread, the one that has waited longest, and leaves the event
// not signalled; with no thread waiting the event stays signalled until one wait takes it. Setting
// an event that is already signalled changes nothing.
BW_EXTERN_C BWAFX_API HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes,
                                                 BOOL bManualReset, BOOL bInitialState,
                                                 LPCSTR lpName);
BW_EXTERN_C BWAFX_API BOOL WINAPI SetEvent(HANDLE hEvent);
BW_EXTERN_C BWAFX_API BOOL WINAPI ResetEvent(HANDLE hEvent);

// A semaphore counting from lInitialCount up to lMaximumCount; a wait takes one unit. A maximum
// below 1, or an initial count outside 0 .. maximum, fails with ERROR_INVALID_PARAMETER.
BW_EXTERN_C BWAFX_API HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes,
                                                     LONG lInitialCount, LONG lMaximumCount,
                                                     LPCSTR lpName);
// Adds lReleaseCount units, giving them to waiting threads in the order they began to wait. A
// count below 1 fails with ERROR_INVALID_PARAMETER; one that would pass the maximum fails with
// ERROR_TOO_MANY_POSTS and adds nothing. The count before the call goes to *lpPreviousCount on
// success.
BW_EXTERN_C BWAFX_API BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount,
                                                   LPLONG lpPreviousCount);

// Waits until the object is signalled (an event set, a semaphore unit free, a thread ended) and
// takes it (an auto-reset event's signal, a semaphore's unit): WAIT_OBJECT_0. WAIT_TIMEOUT when
// dwMilliseconds pass first (0: only a test; INFINITE: no time limit). A handle that is not an
// event, semaphore or thread gives WAIT_FAILED with ERROR_INVALID_HANDLE.
BW_EXTERN_C BWAFX_API DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Starts a thread running lpStartAddress(lpParameter); its result is the thread's exit code and
// its end signals the handle. With CREATE_SUSPENDED the thread starts only at ResumeThread, and
// before it runs any of its own code; other flags are accepted and not used. dwStackSize 0 gives
// the system's default stack. The thread id goes to *lpThreadId when that is not null.
BW_EXTERN_C BWAFX_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes,
                                                 SIZE_T dwStackSize,
                                                 LPTHREAD_START_ROUTINE lpStartAddress,
                                                 LPVOID lpParameter, DWORD dwCreationFlags,
                                                 LPDWORD lpThreadId);
// Counts down the suspension of a thread created with CREATE_SUSPENDED, starting it at 0; returns
// the count before the call (0 for a running thread), or (DWORD)-1 with ERROR_INVALID_HANDLE.
// There is no SuspendThread: a thread is never stopped at an arbitrary point of its code.
BW_EXTERN_C BWAFX_API DWORD WINAPI ResumeThread(HANDLE hThread);

// Thread priorities are the THREAD_PRIORITY_* values; others fail with ERROR_INVALID_PARAMETER.
// The priority is kept as given and applied to the thread as a nice value relative to the one it
// started with (BELOW_NORMAL 5 steps nicer, LOWEST 10, IDLE 19; ABOVE_NORMAL, HIGHEST and
// TIME_CRITICAL 5, 10 and 20 steps less nice), as far as the process may set it: a process
// without the privilege to raise its priority keeps threads at their starting nice value instead.
BW_EXTERN_C BWAFX_API BOOL WINAPI SetThreadPriority(HANDLE hThread, int nPriority);
// The priority last set (THREAD_PRIORITY_NORMAL at first); THREAD_PRIORITY_ERROR_RETURN with
// ERROR_INVALID_HANDLE for a handle that is not a thread.
BW_EXTERN_C BWAFX_API int WINAPI GetThreadPriority(HANDLE hThread);
// The thread's exit code, STILL_ACTIVE while it runs.
BW_EXTERN_C BWAFX_API BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
