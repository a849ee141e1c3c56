#include "framework/Exceptions.h"

void AfxThrowInvalidArgException()
{
    throw CInvalidArgException();
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}
