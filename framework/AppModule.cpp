#include "AppModule.h"

CAppModule _Module;

HRESULT CAppModule::Init(void* /*pObjMap*/, HINSTANCE hInstance, const GUID* /*pLibId*/) {
    if (!hInstance) {
        return E_INVALIDARG;
    }
    m_hInst = hInstance;
    m_dwMainThreadID = ::GetCurrentThreadId();
    return S_OK;
}

void CAppModule::Term() {
    m_mapMsgLoop.clear();
    m_hInst = nullptr;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* pLoop) {
    return m_mapMsgLoop.emplace(::GetCurrentThreadId(), pLoop).second;
}

BOOL CAppModule::RemoveMessageLoop() {
    return m_mapMsgLoop.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD dwThreadId) const {
    auto it = m_mapMsgLoop.find(dwThreadId);
    return it == m_mapMsgLoop.end() ? nullptr : it->second;
}
