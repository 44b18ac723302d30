// CObject and the framework's run-time class information.
//
// Every class declared with DECLARE_DYNAMIC (or DYNCREATE, or SERIAL) has one static CRuntimeClass
// that names the class, gives its object size and schema, can create an object (DYNCREATE and
// SERIAL) and points to its base class's record, so IsKindOf and CreateObject work without the
// language's own RTTI.
#pragma once

#include <bwcore/platform.h>

class CObject;
class CArchive;
class CDumpContext;

struct BWAFX_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF for classes that are not serialisable
    CObject* (*m_pfnCreateObject)(); // null unless the class can be created dynamically
    // The base class's record, through a function so that records stay constant data even when
    // the base class lives in another module. Null for CObject.
    CRuntimeClass* (*m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass; // the chain of registered classes, newest first

    // A new object of the class, or null when it cannot be created dynamically.
    CObject* CreateObject() const;
    CRuntimeClass* GetBaseClass() const {
        return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
    }
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Finds a registered class by name (only classes declared DYNCREATE or SERIAL register).
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);
};

// Puts a class record on the chain that FromName searches; used by IMPLEMENT_DYNCREATE/SERIAL.
struct BWAFX_API AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CRuntimeClass* GetThisClass();                                                          \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                    \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, (int)sizeof(class class_name),  wSchema,                                      \
        pfnNew,      &base_class_name::GetThisClass, nullptr};                                     \
    CRuntimeClass* class_name::GetThisClass() {                                                    \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return &class_name::class##class_name;                                                     \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)       \
    static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    BW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)      \
    static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

// The root of the framework's class tree. Its virtual operations, in this order: the run-time
// class, the destructor, serialisation, the validity check and the dump. Derived classes keep
// that order and add theirs after it.
class BWAFX_API CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    // Serialisation is not offered by this framework subset: no archive can be made, so the
    // base operation is never reached with one. It is kept for its place in the virtual table.
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

protected:
    CObject() = default;

private:
    // Framework objects are not copied unless a class says so.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// The object as a pointer to the given class, or null when it is not of that class. A function,
// so that the object expression is evaluated once.
inline CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    return pObject != nullptr && pObject->IsKindOf(pClass) ? pObject : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object)                                                       \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
