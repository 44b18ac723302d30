// Windows, messages, dialogs and message boxes, for Linux: a headless window system.
//
// Nothing is drawn and there is no input device. Windows are records with a class, a window
// procedure, styles, text, a position, a parent and children; messages go to window procedures
// with Win32's rules (SendMessageA calls the procedure at once, PostMessageA queues for the
// calling thread); dialogs are built from their templates and run by a headless modal loop.
//
// Window handles are numbers of their own, from 0x60000000 (above the file, synchronisation and
// search handles), never reused while the process runs. A value that is not a live window
// makes a function fail with ERROR_INVALID_WINDOW_HANDLE and its failure value (SendMessageA: 0).
// Handle lookups are thread-safe; a window procedure runs on the thread that sends the message or
// dispatches it.
//
// The system classes "Button", "Edit", "Static" and "ListBox" (class names are case-insensitive)
// are registered before the first RegisterClass* or CreateWindowExA call finds a class.
#pragma once

#include <bwcore/win32/errors.h>
#include <bwcore/win32/types.h>

#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_WINDOW_OF_OTHER_THREAD 1408L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#define ERROR_CLASS_HAS_WINDOWS 1412L
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#define ERROR_NOT_CHILD_WINDOW 1442L

// ---- Types and structures ---------------------------------------------------------------------

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, *PWNDCLASSA, *LPWNDCLASSA;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

// The header of a WM_NOTIFY message.
typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

// Dialog templates. A DLGTEMPLATE is followed, each on a WORD boundary, by the menu, the class
// and the title (each 0x0000 for none, 0xFFFF and a WORD ordinal, or a UTF-16 string with its
// terminator), with DS_SETFONT the point size (WORD) and the face name (string), and then by
// cdit items, each on a DWORD boundary: a DLGITEMTEMPLATE, the class (0xFFFF and an ordinal:
// 0x0080 Button, 0x0081 Edit, 0x0082 Static, 0x0083 ListBox, 0x0084 ScrollBar, 0x0085 ComboBox;
// or a string), the title (0xFFFF and an ordinal, or a string) and the creation data (a WORD
// byte count, then that many bytes, which reach the control's WM_CREATE as lpCreateParams).
//
// The extended form has no structure of its own. It starts with WORD dlgVer (1) and WORD
// signature (0xFFFF), then DWORD helpID, DWORD exStyle, DWORD style, WORD cDlgItems, short x, y,
// cx, cy; then menu, class and title as above; with DS_SETFONT WORD pointsize, WORD weight,
// BYTE italic, BYTE charset and the face name. Each item, on a DWORD boundary, is DWORD helpID,
// DWORD exStyle, DWORD style, short x, y, cx, cy, DWORD id, then class, title and creation data
// as above.
#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE;
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)
typedef DLGTEMPLATE* LPDLGTEMPLATEA;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEA;
typedef DLGITEMTEMPLATE* PDLGITEMTEMPLATEA;

// ---- Messages ---------------------------------------------------------------------------------

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SHOWWINDOW 0x0018
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_NOTIFY 0x004E
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_GETDLGCODE 0x0087
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_USER 0x0400
#define WM_APP 0x8000

// Dialog manager
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE results
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// Buttons
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#define BN_CLICKED 0
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

// List boxes
#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B

// Edit controls
#define EM_SETREADONLY 0x00CF

// ---- Styles -----------------------------------------------------------------------------------

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW                                                                        \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_CHILDWINDOW WS_CHILD

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_RIGHT 0x00001000L
#define WS_EX_LEFT 0x00000000L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_APPWINDOW 0x00040000L
#define WS_EX_NOACTIVATE 0x08000000L

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_NOFAILCREATE 0x10L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_PUSHBOX 0x0000000AL
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_TEXT 0x00000000L
#define BS_ICON 0x00000040L
#define BS_BITMAP 0x00000080L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_PUSHLIKE 0x00001000L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BS_FLAT 0x00008000L

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_GRAYRECT 0x00000005L
#define SS_WHITERECT 0x00000006L
#define SS_BLACKFRAME 0x00000007L
#define SS_GRAYFRAME 0x00000008L
#define SS_WHITEFRAME 0x00000009L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_BITMAP 0x0000000EL
#define SS_ETCHEDHORZ 0x00000010L
#define SS_ETCHEDVERT 0x00000011L
#define SS_ETCHEDFRAME 0x00000012L
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_REALSIZEIMAGE 0x00000800L
#define SS_SUNKEN 0x00001000L
#define SS_ENDELLIPSIS 0x00004000L
#define SS_PATHELLIPSIS 0x00008000L
#define SS_WORDELLIPSIS 0x0000C000L

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_OEMCONVERT 0x0400L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_OWNERDRAWFIXED 0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_MULTICOLUMN 0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_DISABLENOSCROLL 0x1000L
#define LBS_NODATA 0x2000L
#define LBS_NOSEL 0x4000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

// ---- Dialog and message box results, message box types ----------------------------------------

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9
#define IDTRYAGAIN 10
#define IDCONTINUE 11

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_USERICON 0x00000080L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONSTOP MB_ICONHAND
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_HELP 0x00004000L
#define MB_NOFOCUS 0x00008000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_DEFAULT_DESKTOP_ONLY 0x00020000L
#define MB_TOPMOST 0x00040000L
#define MB_RIGHT 0x00080000L
#define MB_RTLREADING 0x00100000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define MB_MODEMASK 0x00003000L
#define MB_MISCMASK 0x0000C000L

// ---- Window longs, ShowWindow, GetWindow, keys ------------------------------------------------

#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWLP_USERDATA (-21)

// A dialog's window extra bytes: the message result, the dialog procedure and one user value.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + sizeof(LRESULT))
#define DWLP_USER (DWLP_DLGPROC + sizeof(DLGPROC))
#define DLGWINDOWEXTRA 48

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20

#define CW_USEDEFAULT ((int)0x80000000)
#define HWND_DESKTOP ((HWND)0)

#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define MAKEINTATOM(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

// ---- Classes ----------------------------------------------------------------------------------

// Registers a window class; its atom, or 0 with ERROR_CLASS_ALREADY_EXISTS when the instance
// already has a class of that name (case-insensitive), or for CS_GLOBALCLASS when another global
// class has it. An application class of a system class's name is found before the system class.
// A window's cbWndExtra bytes start zeroed.
BW_EXTERN_C BWAFX_API ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass);
// As RegisterClassA; a cbSize other than sizeof(WNDCLASSEXA) fails with ERROR_INVALID_PARAMETER.
BW_EXTERN_C BWAFX_API ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx);
// Removes a class the instance registered: ERROR_CLASS_DOES_NOT_EXIST when there is none,
// ERROR_CLASS_HAS_WINDOWS while windows of it live.
BW_EXTERN_C BWAFX_API BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
// The class's registration (for a system class any instance finds it); lpszClassName is the
// caller's pointer, lpszMenuName null. ERROR_CLASS_DOES_NOT_EXIST when there is none.
BW_EXTERN_C BWAFX_API BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName,
                                                LPWNDCLASSA lpWndClass);
// The class name as registered, cut to nMaxCount - 1 characters; its length, 0 on failure.
BW_EXTERN_C BWAFX_API int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// ---- Windows ----------------------------------------------------------------------------------

// Creates a window: WM_NCCREATE, then WM_CREATE, both with a CREATESTRUCTA. An answer of FALSE
// to the first or -1 to the second makes the call fail; the window then gets WM_NCDESTROY (and
// no WM_DESTROY). The class is the instance's own, else a CS_GLOBALCLASS one, else a
// system class: ERROR_CANNOT_FIND_WND_CLASS when there is none. WS_CHILD with no parent
// fails with ERROR_TLW_WITH_WSCHILD; for a child, hMenu is its control id. CW_USEDEFAULT
// positions become 0, and sizes 100 for an overlapped window, 0 for others. A child comes last
// among its parent's children; a top-level window given a parent is owned by that parent's
// top-level window.
BW_EXTERN_C BWAFX_API HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName,
                                                  LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                                  int nWidth, int nHeight, HWND hWndParent,
                                                  HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
#define CreateWindowA(lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,       \
                      hMenu, hInstance, lpParam)                                                   \
    CreateWindowExA(0L, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,     \
                    hMenu, hInstance, lpParam)

// Destroys the window and its children: WM_DESTROY to the window, then to its children (parent
// first), WM_NCDESTROY to the children, then to the window (children first). The handle is dead
// once the window's WM_NCDESTROY has been handled. Windows it owns are destroyed first. A window
// already being destroyed is left alone (TRUE).
BW_EXTERN_C BWAFX_API BOOL WINAPI DestroyWindow(HWND hWnd);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsWindow(HWND hWnd);

// The default handling: WM_NCCREATE takes the window text from the CREATESTRUCTA and answers
// TRUE; WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH keep the text; WM_CLOSE destroys the window;
// everything else answers 0.
BW_EXTERN_C BWAFX_API LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam,
                                                    LPARAM lParam);
BW_EXTERN_C BWAFX_API LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg,
                                                     WPARAM wParam, LPARAM lParam);

// ---- Messages ---------------------------------------------------------------------------------

// Calls the window procedure on the calling thread and returns its result; 0 for a bad handle.
BW_EXTERN_C BWAFX_API LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam,
                                                  LPARAM lParam);
// Queues the message for the thread that created the window. A null hWnd queues a message with
// no window for the calling thread (handed out by GetMessageA/PeekMessageA, not dispatched).
BW_EXTERN_C BWAFX_API BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Takes the first queued message of the calling thread that matches: hWnd null for any, or that
// window and its descendants, or -1 for the messages posted with no window; message numbers
// within min..max (0, 0 for all). WM_QUIT comes once no other message matches. With nothing
// queued PeekMessageA answers FALSE at once and GetMessageA waits for a message posted by another
// thread (there is no input to wait for). GetMessageA answers 0 for WM_QUIT, -1 for a bad hWnd.
BW_EXTERN_C BWAFX_API BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                               UINT wMsgFilterMax, UINT wRemoveMsg);
BW_EXTERN_C BWAFX_API BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                              UINT wMsgFilterMax);
// For WM_KEYDOWN of VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE and VK_SPACE, posts WM_CHAR with the
// character (the other keys' characters would need a keyboard layout); TRUE for any WM_KEYDOWN
// or WM_KEYUP.
BW_EXTERN_C BWAFX_API BOOL WINAPI TranslateMessage(const MSG* lpMsg);
BW_EXTERN_C BWAFX_API LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
// Queues WM_QUIT with the exit code for the calling thread.
BW_EXTERN_C BWAFX_API void WINAPI PostQuitMessage(int nExitCode);

// ---- Window data ------------------------------------------------------------------------------

// GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT, GWLP_ID, GWL_STYLE, GWL_EXSTYLE,
// GWLP_USERDATA, or a byte offset into the cbWndExtra bytes (ERROR_INVALID_INDEX past them).
// Set* returns the previous value.
BW_EXTERN_C BWAFX_API LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex);
BW_EXTERN_C BWAFX_API LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
BW_EXTERN_C BWAFX_API LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex);
BW_EXTERN_C BWAFX_API LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong);
#define ERROR_INVALID_INDEX 1413L

// ---- Window tree ------------------------------------------------------------------------------

// A child's parent (null for a top-level window, whose owner this layer does not keep).
BW_EXTERN_C BWAFX_API HWND WINAPI GetParent(HWND hWnd);
// GW_CHILD: the first child; GW_HWNDNEXT/GW_HWNDPREV: the next/previous sibling;
// GW_HWNDFIRST/GW_HWNDLAST: the first/last sibling. Null when there is none.
BW_EXTERN_C BWAFX_API HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
// The first child with that id: ERROR_CONTROL_ID_NOT_FOUND when none.
BW_EXTERN_C BWAFX_API HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
BW_EXTERN_C BWAFX_API int WINAPI GetDlgCtrlID(HWND hWnd);

// ---- Window text ------------------------------------------------------------------------------

// These go through WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH. Text is cut to nMaxCount - 1
// characters and always terminated.
BW_EXTERN_C BWAFX_API BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
BW_EXTERN_C BWAFX_API int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
BW_EXTERN_C BWAFX_API int WINAPI GetWindowTextLengthA(HWND hWnd);
BW_EXTERN_C BWAFX_API BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
BW_EXTERN_C BWAFX_API UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString,
                                                  int cchMax);
BW_EXTERN_C BWAFX_API LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg,
                                                         WPARAM wParam, LPARAM lParam);

// ---- State and geometry -----------------------------------------------------------------------

// Shows (every SW_ value but SW_HIDE) or hides the window, sending WM_SHOWWINDOW when that
// changes; returns whether it was visible before.
BW_EXTERN_C BWAFX_API BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
// Visible when the window and all its ancestors have WS_VISIBLE.
BW_EXTERN_C BWAFX_API BOOL WINAPI IsWindowVisible(HWND hWnd);
// Returns whether the window was disabled before; sends WM_ENABLE when that changes.
BW_EXTERN_C BWAFX_API BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsWindowEnabled(HWND hWnd);
// The focus is one window per process here; SetFocus returns the previous one.
BW_EXTERN_C BWAFX_API HWND WINAPI SetFocus(HWND hWnd);
BW_EXTERN_C BWAFX_API HWND WINAPI GetFocus(void);
// Windows have no frame here: the client area is the whole window, (0, 0, width, height).
BW_EXTERN_C BWAFX_API BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
// A top-level window's rectangle is its position; a child's is offset by its ancestors'.
BW_EXTERN_C BWAFX_API BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
BW_EXTERN_C BWAFX_API BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight,
                                             BOOL bRepaint);

// ---- Dialogs ----------------------------------------------------------------------------------

// Dialog units: every dialog maps them with the base units of an 8-point dialog font at 96 dots
// per inch, 6 pixels across and 13 down (whatever font the template names): x * 6 / 4 and
// y * 13 / 8. MapDialogRect fails with ERROR_INVALID_WINDOW_HANDLE for a window that is not a
// dialog. GetDialogBaseUnits answers the system font's 8 by 16.
BW_EXTERN_C BWAFX_API BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);
BW_EXTERN_C BWAFX_API LONG WINAPI GetDialogBaseUnits(void);

// Modal dialogs, headless: the dialog is created from its template (DLGTEMPLATE or the extended
// form), gets WM_INITDIALOG with dwInitParam, and then the posted messages are handled until
// the queue is empty. If the dialog has not ended, its default push button is pressed (the
// parent gets WM_COMMAND with MAKEWPARAM(id, BN_CLICKED) and the button's handle, as a click
// sends) and the posted messages are handled again; if it still has not ended, it ends with
// IDCANCEL. The result is EndDialog's; -1 for a bad template or parent.
// DialogBoxParamA finds the template with FindResourceA(hInstance, lpTemplateName, RT_DIALOG).
BW_EXTERN_C BWAFX_API INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                                                     HWND hWndParent, DLGPROC lpDialogFunc,
                                                     LPARAM dwInitParam);
BW_EXTERN_C BWAFX_API INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE hInstance,
                                                             LPCDLGTEMPLATEA hDialogTemplate,
                                                             HWND hWndParent, DLGPROC lpDialogFunc,
                                                             LPARAM dwInitParam);
#define DialogBoxA(hInstance, lpTemplate, hWndParent, lpDialogFunc)                                \
    DialogBoxParamA(hInstance, lpTemplate, hWndParent, lpDialogFunc, 0L)
#define DialogBoxIndirectA(hInstance, lpTemplate, hWndParent, lpDialogFunc)                        \
    DialogBoxIndirectParamA(hInstance, lpTemplate, hWndParent, lpDialogFunc, 0L)
// A modeless dialog from its template; null for a bad template or parent, or when the dialog
// procedure destroys it during WM_INITDIALOG.
BW_EXTERN_C BWAFX_API HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance,
                                                             LPCDLGTEMPLATEA lpTemplate,
                                                             HWND hWndParent, DLGPROC lpDialogFunc,
                                                             LPARAM dwInitParamA);
// Marks a modal dialog ended with nResult (its loop then destroys it); a modeless dialog is only
// hidden. FALSE for a window that is not a dialog.
BW_EXTERN_C BWAFX_API BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
// Handles a keyboard message for the dialog: WM_KEYDOWN VK_ESCAPE sends WM_COMMAND IDCANCEL and
// VK_RETURN the default id (DM_GETDEFID, else IDOK), with the control's handle when there is
// one. Other messages for the dialog or its controls are dispatched. FALSE when the message is
// not for hDlg or its controls.
BW_EXTERN_C BWAFX_API BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg);

// ---- Message boxes ----------------------------------------------------------------------------

// Headless: writes the text and a newline to standard error (a null text as an empty line) and
// answers the default button of the type's button set: MB_DEFBUTTON1..4 picks the first to the
// fourth, and one beyond the set's buttons picks the first. MB_HELP's button does not end a box
// and is not counted. An unknown button set fails with ERROR_INVALID_MSGBOX_STYLE: 0.
BW_EXTERN_C BWAFX_API int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption,
                                             UINT uType);
#define ERROR_INVALID_MSGBOX_STYLE 1416L
// No sound: TRUE.
BW_EXTERN_C BWAFX_API BOOL WINAPI MessageBeep(UINT uType);

// ---- Unsuffixed names -------------------------------------------------------------------------

#define WNDCLASS WNDCLASSA
#define WNDCLASSEX WNDCLASSEXA
#define CREATESTRUCT CREATESTRUCTA
#define LPCREATESTRUCT LPCREATESTRUCTA
#define LPCDLGTEMPLATE LPCDLGTEMPLATEA
#define RegisterClass RegisterClassA
#define RegisterClassEx RegisterClassExA
#define UnregisterClass UnregisterClassA
#define GetClassInfo GetClassInfoA
#define GetClassName GetClassNameA
#define CreateWindowEx CreateWindowExA
#define CreateWindow CreateWindowA
#define DefWindowProc DefWindowProcA
#define CallWindowProc CallWindowProcA
#define SendMessage SendMessageA
#define PostMessage PostMessageA
#define PeekMessage PeekMessageA
#define GetMessage GetMessageA
#define DispatchMessage DispatchMessageA
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLong GetWindowLongA
#define SetWindowLong SetWindowLongA
#define SetWindowText SetWindowTextA
#define GetWindowText GetWindowTextA
#define GetWindowTextLength GetWindowTextLengthA
#define SetDlgItemText SetDlgItemTextA
#define GetDlgItemText GetDlgItemTextA
#define SendDlgItemMessage SendDlgItemMessageA
#define DialogBoxParam DialogBoxParamA
#define DialogBoxIndirectParam DialogBoxIndirectParamA
#define DialogBox DialogBoxA
#define DialogBoxIndirect DialogBoxIndirectA
#define CreateDialogIndirectParam CreateDialogIndirectParamA
#define IsDialogMessage IsDialogMessageA
#define MessageBox MessageBoxA
