#pragma once
#include <string>

// A fresh, uniquely named folder under the user's temp folder. It is removed with
// everything in it when the object goes, so each test starts from a clean place.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_strPath; }
    std::wstring File(const std::wstring& strName) const { return m_strPath + L"\\" + strName; }

private:
    std::wstring m_strPath;
};
