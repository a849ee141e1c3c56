#pragma once
// One item of a CSkinMenu: its text, its picture references and the flags it
// stands with in the platform menu. The menu passes the record as the item's
// owner-draw data, so drawing needs nothing but the record.

#include <windows.h>

#include <memory>
#include <string>

class CImageList;

class CSkinMenuData
{
public:
    CSkinMenuData();
    ~CSkinMenuData();
    CSkinMenuData(const CSkinMenuData&) = delete;
    CSkinMenuData& operator=(const CSkinMenuData&) = delete;

    // Text operations. A null text stays null; the narrow forms use the
    // thread's ANSI code page.
    void SetTextW(const wchar_t* pwszText);
    void SetTextA(const char* pszText);
    std::string GetTextA() const;
    const wchar_t* GetTextW() const { return m_pwszText.get(); }

    // Data members
    std::unique_ptr<wchar_t[]> m_pwszText;   // item text, accelerator after a tab
    int m_nImage = -1;   // picture index in m_pImages
    int m_nSharedImage = -1;   // index into the class-wide shared pictures
    int m_nImageState = -1;   // -1: no own picture; else m_nImage is shown
    UINT m_uMenuFlags = 0;   // MF_ flags the item was inserted with
    UINT_PTR m_uCommandId = 0;   // command id, or the popup's HMENU
    BOOL m_bClaimed = FALSE;   // scratch mark for SynchronizeRecords
    std::unique_ptr<CImageList> m_pImages;   // the item's own pictures
};
