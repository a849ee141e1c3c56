#pragma once
// Walks a standard (not extended) menu template item by item. Every read is
// checked against the template's size: a template that ends too early raises
// the invalid-argument exception instead of reading past the resource.

#include <windows.h>

#include <cstddef>
#include <string>

class CMenuTemplateReader
{
public:
    struct Item
    {
        UINT uOptions = 0;   // MF_ flags of the template, MF_END included
        UINT uId = 0;   // command id; 0 for a popup
        std::wstring strText;
    };

    // pData points to the template's header (version, header size).
    CMenuTemplateReader(const void* pData, size_t cbData);

    Item ReadItem();

private:
    WORD ReadWord();

    const BYTE* m_pData;
    size_t m_cbData;
    size_t m_nOffset;
};
