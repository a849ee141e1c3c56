#include "ec/IsaBusMutex.h"

IsaBusMutex::IsaBusMutex()
{
    // A NULL DACL lets programs of every user, elevated or not, share it.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
    m_hMutex.Reset(CreateMutexA(&sa, FALSE, NAME));
    // Created by another program with a narrower DACL: ask for no more than
    // waiting and releasing need.
    if (!m_hMutex)
        m_hMutex.Reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, NAME));
}

IsaBusMutex::Turn::Turn(const IsaBusMutex& mutex, DWORD dwWaitLimitMs)
    : m_hOwned(nullptr),
      m_bGranted(!mutex.Exists())
{
    if (!mutex.Exists())
        return;
    // WAIT_ABANDONED: its owner died holding it; it is ours now all the same.
    // A timeout or a failed wait grants nothing.
    const DWORD dwWait = WaitForSingleObject(mutex.m_hMutex.Get(), dwWaitLimitMs);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED)
    {
        m_hOwned = mutex.m_hMutex.Get();
        m_bGranted = true;
    }
}

IsaBusMutex::Turn::~Turn()
{
    if (m_hOwned != nullptr)
        ReleaseMutex(m_hOwned);
}
