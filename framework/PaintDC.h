#pragma once
#include "framework/DC.h"

class CWnd;

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    // Data members
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
