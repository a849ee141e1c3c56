#pragma once
#include "framework/DC.h"

// Saves a DC's state (selected objects, colours, modes) and restores it when
// it goes out of scope, so a DC lent by its owner goes back as it came.
class ScopedSaveDC
{
public:
    explicit ScopedSaveDC(CDC& dc)
        : m_dc(dc),
          m_nSavedDC(dc.SaveDC())
    {}
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;
    ~ScopedSaveDC() { m_dc.RestoreDC(m_nSavedDC); }

private:
    CDC& m_dc;
    const int m_nSavedDC;
};
