// CCmdTarget: the base of framework objects that receive commands and messages (modules, windows,
// dialogs), and the message maps that route commands to their handlers.
//
// A class declares its map with DECLARE_MESSAGE_MAP() and defines it with
//     BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//         ON_BN_CLICKED(IDC_APPLY, &CMyDialog::OnApply)
//     END_MESSAGE_MAP()
// Each map names its base class's map, so a command that a class's own map does not handle is
// looked up in its base's map, and so on up to CCmdTarget's, which is empty.
#pragma once

#include <bwcore/afx/CObject.h>

class CCmdTarget;

// A handler: a member function of a class derived from CCmdTarget, taking and returning nothing.
typedef void (CCmdTarget::*AFX_PMSG)();

// The handler signatures the maps know (only commands are routed here).
enum AfxSig {
    AfxSig_end = 0,
    AfxSigCmd_v = 12,
};

// One map entry: the handler for nMessage with notification code nCode from the controls nID to
// nLastID.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

// A class's map: its entries (ended by an entry with nSig AfxSig_end) and its base class's map.
struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Extra information a command handler look-up may return; not used by this subset.
struct AFX_CMDHANDLERINFO;

// The notification code of a menu or accelerator command (that of BN_CLICKED too).
#define CN_COMMAND 0

// The entry in the given entries for the message, code and identifier; null when there is none.
BWAFX_API const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg,
                                                      UINT nCode, UINT nID);

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG) nullptr }                                                 \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// A WM_COMMAND notification nCode from control id.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, (WORD)wNotifyCode, (WORD)id,                                                      \
     (WORD)id,   AfxSigCmd_v,       static_cast<AFX_PMSG>(memberFxn)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(CN_COMMAND, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

class BWAFX_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes command nID with notification nCode (a WM_COMMAND) to the first handler in the
    // class's map or its bases' maps and calls it; FALSE when no map has one. pExtra and
    // pHandlerInfo are not used.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
