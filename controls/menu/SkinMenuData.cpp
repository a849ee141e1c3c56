#include "controls/menu/SkinMenuData.h"

#include "framework/ImageList.h"

#include <cstring>
#include <cwchar>
#include <utility>

CSkinMenuData::CSkinMenuData() = default;
CSkinMenuData::~CSkinMenuData() = default;

void CSkinMenuData::SetTextW(const wchar_t* pwszText)
{
    m_pwszText.reset();
    if (pwszText == nullptr)
        return;
    const size_t nLength = std::wcslen(pwszText) + 1;
    m_pwszText = std::make_unique<wchar_t[]>(nLength);
    std::memcpy(m_pwszText.get(), pwszText, nLength * sizeof(wchar_t));
}

void CSkinMenuData::SetTextA(const char* pszText)
{
    if (pszText == nullptr)
    {
        SetTextW(nullptr);
        return;
    }
    // Every byte yields at most one UTF-16 unit, so strlen + 1 always suffices.
    const int nCapacity = static_cast<int>(std::strlen(pszText)) + 1;
    auto wide = std::make_unique<wchar_t[]>(nCapacity);
    if (::MultiByteToWideChar(CP_THREAD_ACP, 0, pszText, -1, wide.get(), nCapacity) == 0)
        m_pwszText.reset();
    else
        m_pwszText = std::move(wide);
}

std::string CSkinMenuData::GetTextA() const
{
    if (!m_pwszText)
        return std::string();
    // Ask for the size: a multi-byte code page may need more than two bytes
    // for one UTF-16 unit.
    const int nNeeded = ::WideCharToMultiByte(CP_THREAD_ACP, 0, m_pwszText.get(), -1, nullptr, 0, nullptr, nullptr);
    if (nNeeded <= 0)
        return std::string();
    std::string strText(static_cast<size_t>(nNeeded), '\0');
    if (::WideCharToMultiByte(CP_THREAD_ACP, 0, m_pwszText.get(), -1, strText.data(), nNeeded, nullptr, nullptr) == 0)
        return std::string();
    strText.resize(static_cast<size_t>(nNeeded) - 1);   // drop the terminator
    return strText;
}
