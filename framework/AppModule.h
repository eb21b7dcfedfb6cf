#pragma once

#include <windows.h>

#include <map>

#include "MessageLoop.h"

// The process's module: its instance, its main thread and the message loop
// running on each thread, so a window can find the loop of its thread.
class CAppModule {
public:
    HRESULT Init(void* pObjMap, HINSTANCE hInstance, const GUID* pLibId = nullptr);
    void Term();

    BOOL AddMessageLoop(CMessageLoop* pLoop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD dwThreadId = ::GetCurrentThreadId()) const;

    HINSTANCE GetModuleInstance() const { return m_hInst; }
    HINSTANCE GetResourceInstance() const { return m_hInst; }

    HINSTANCE m_hInst = nullptr;
    DWORD m_dwMainThreadID = 0;

private:
    std::map<DWORD, CMessageLoop*> m_mapMsgLoop;
};

extern CAppModule _Module;
