#include "controls/menu/MenuTemplateReader.h"

#include "framework/Exceptions.h"

#include <cstring>

CMenuTemplateReader::CMenuTemplateReader(const void* pData, size_t cbData)
    : m_pData(static_cast<const BYTE*>(pData)),
      m_cbData(cbData),
      m_nOffset(0)
{
    ReadWord();   // version: not examined
    const WORD wHeaderSize = ReadWord();
    m_nOffset += wHeaderSize;
}

CMenuTemplateReader::Item CMenuTemplateReader::ReadItem()
{
    Item item;
    item.uOptions = ReadWord();
    if ((item.uOptions & MF_POPUP) == 0)
        item.uId = ReadWord();
    for (WORD wChar = ReadWord(); wChar != 0; wChar = ReadWord())
        item.strText.push_back(static_cast<wchar_t>(wChar));
    return item;
}

WORD CMenuTemplateReader::ReadWord()
{
    if (m_nOffset > m_cbData || m_cbData - m_nOffset < sizeof(WORD))
        AfxThrowInvalidArgException();
    WORD wValue = 0;
    std::memcpy(&wValue, m_pData + m_nOffset, sizeof(wValue));
    m_nOffset += sizeof(wValue);
    return wValue;
}
