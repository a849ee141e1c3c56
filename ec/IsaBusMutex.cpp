#include "ec/IsaBusMutex.h"

IsaBusMutex::IsaBusMutex()
    : m_dwOpenError(ERROR_SUCCESS),
      m_dwTurnThread(0)
{
    // A NULL DACL lets programs of every user, elevated or not, share it.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
    m_hMutex.Reset(CreateMutexA(&sa, FALSE, NAME));
    if (m_hMutex)
        return;
    // Created by another program with a narrower DACL: ask for no more than
    // waiting and releasing need. The creation's error is the one that names
    // the cause (the open fails the same way, or only because of it).
    m_dwOpenError = GetLastError();
    m_hMutex.Reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, NAME));
    if (m_hMutex)
        m_dwOpenError = ERROR_SUCCESS;
    else if (m_dwOpenError == ERROR_SUCCESS)
        m_dwOpenError = GetLastError();
}

IsaBusMutex::Turn::Turn(const IsaBusMutex& mutex, DWORD dwWaitLimitMs)
    : m_pTaken(nullptr),
      m_bGranted(false)
{
    if (!mutex.m_hMutex)
        return;
    const DWORD dwThread = GetCurrentThreadId();
    if (mutex.m_dwTurnThread == dwThread)
    {
        m_bGranted = true;   // inside this thread's own turn
        return;
    }
    // WAIT_ABANDONED: its owner died holding it; it is ours now all the same.
    // A timeout or a failed wait grants nothing.
    const DWORD dwWait = WaitForSingleObject(mutex.m_hMutex.Get(), dwWaitLimitMs);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED)
    {
        mutex.m_dwTurnThread = dwThread;
        m_pTaken = &mutex;
        m_bGranted = true;
    }
}

IsaBusMutex::Turn::~Turn()
{
    if (m_pTaken == nullptr)
        return;
    m_pTaken->m_dwTurnThread = 0;
    ReleaseMutex(m_pTaken->m_hMutex.Get());
}
