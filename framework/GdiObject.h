#pragma once
#include <windows.h>

// Base of the GDI object wrappers: owns m_hObject and deletes it on
// destruction. Objects handed out by FromHandle() only borrow their handle.
class CGdiObject
{
public:
    // Data members
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    // Takes ownership of hObject; fails when this object already holds one.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;
    BOOL CreateStockObject(int nIndex);

    // A borrowed wrapper of the right class (CPen, CBrush, CBitmap, CFont or
    // CGdiObject), valid until the message loop next goes idle. Code that
    // selects an object back later keeps its handle, not this wrapper.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    static void DeleteTempMap();

protected:
    // Attaches a handle just created for this object; deletes it instead when
    // the object already holds one, so a second Create* never leaks.
    BOOL AttachCreated(HGDIOBJ hObject);
};

// Typed form of CGdiObject::FromHandle: null when the handle is of another kind.
template <class T> T* GdiObjectFromHandle(HGDIOBJ hObject)
{
    return dynamic_cast<T*>(CGdiObject::FromHandle(hObject));
}
