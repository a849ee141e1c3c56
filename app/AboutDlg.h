#pragma once
#include "framework/Dialog.h"

// The About box of the system menu: the template alone, no behaviour of its own.
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
