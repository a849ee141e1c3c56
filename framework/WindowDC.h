#pragma once
#include "framework/DC.h"

class CWnd;

// GetWindowDC of a whole window (frame included), released in the destructor.
class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
