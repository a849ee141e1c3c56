#include "framework/GdiObject.h"
#include <memory>
#include "framework/Bitmap.h"
#include "framework/Brush.h"
#include "framework/Font.h"
#include "framework/HandleMap.h"
#include "framework/Pen.h"

namespace
{
    using GdiMap = HandleMap<HGDIOBJ, CGdiObject, &CGdiObject::m_hObject>;

    // Borrowed wrappers, freed on idle.
    GdiMap& TheTemporaryMap()
    {
        thread_local GdiMap map;
        return map;
    }

    std::unique_ptr<CGdiObject> MakeWrapperFor(HGDIOBJ hObject)
    {
        switch (::GetObjectType(hObject))
        {
        case OBJ_PEN:
        case OBJ_EXTPEN: return std::make_unique<CPen>();
        case OBJ_BRUSH: return std::make_unique<CBrush>();
        case OBJ_BITMAP: return std::make_unique<CBitmap>();
        case OBJ_FONT: return std::make_unique<CFont>();
        default: return std::make_unique<CGdiObject>();
        }
    }
}   // namespace

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (m_hObject != nullptr || hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

BOOL CGdiObject::AttachCreated(HGDIOBJ hObject)
{
    if (Attach(hObject))
        return TRUE;
    if (hObject != nullptr)
        ::DeleteObject(hObject);
    return FALSE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return m_hObject != nullptr ? ::GetObjectA(m_hObject, nCount, lpObject) : 0;
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    // Deleting a stock object does nothing, so owning one is harmless.
    return Attach(::GetStockObject(nIndex));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return TheTemporaryMap().FromHandle(hObject, [hObject] { return MakeWrapperFor(hObject); });
}

void CGdiObject::DeleteTempMap()
{
    TheTemporaryMap().DeleteTemporary();
}
