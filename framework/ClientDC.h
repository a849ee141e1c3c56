#pragma once
#include "framework/DC.h"

class CWnd;

// GetDC of a window's client area, released in the destructor. A null window
// gives the screen's DC.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
