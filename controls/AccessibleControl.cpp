#include "AccessibleControl.h"

#include <new>

namespace {

// IAccessible over the standard object of a window: name, role and state
// from the control's facts, the rest passed through.
class CAccessibleOverlay final : public IAccessible {
public:
    CAccessibleOverlay(IAccessible* pStandard, const AccessibleFacts& facts)
        : m_pStandard(pStandard), m_facts(facts) {
        m_pStandard->AddRef();
    }
    CAccessibleOverlay(const CAccessibleOverlay&) = delete;
    CAccessibleOverlay& operator=(const CAccessibleOverlay&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *ppv = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG nRefs = InterlockedDecrement(&m_nRefs);
        if (nRefs == 0) {
            delete this;
        }
        return nRefs;
    }

    // IDispatch: no type information; clients call IAccessible directly.
    STDMETHODIMP GetTypeInfoCount(UINT* pnCount) override {
        *pnCount = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what the facts say about the control itself.
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override {
        if (IsSelf(varChild) && !m_facts.strName.empty()) {
            *pszName = SysAllocString(m_facts.strName.c_str());
            return *pszName ? S_OK : E_OUTOFMEMORY;
        }
        return m_pStandard->get_accName(varChild, pszName);
    }
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override {
        return Overlay(m_pStandard->get_accRole(varChild, pvarRole), varChild, pvarRole,
                       AccessibleRole);
    }
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override {
        return Overlay(m_pStandard->get_accState(varChild, pvarState), varChild, pvarState,
                       AccessibleState);
    }

    // The rest as the standard object answers.
    STDMETHODIMP get_accParent(IDispatch** pp) override { return m_pStandard->get_accParent(pp); }
    STDMETHODIMP get_accChildCount(long* pn) override { return m_pStandard->get_accChildCount(pn); }
    STDMETHODIMP get_accChild(VARIANT v, IDispatch** pp) override {
        return m_pStandard->get_accChild(v, pp);
    }
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override {
        if (IsSelf(varChild) && !m_facts.strValue.empty()) {
            *pszValue = SysAllocString(m_facts.strValue.c_str());
            return *pszValue ? S_OK : E_OUTOFMEMORY;
        }
        return m_pStandard->get_accValue(varChild, pszValue);
    }
    STDMETHODIMP get_accDescription(VARIANT v, BSTR* p) override {
        return m_pStandard->get_accDescription(v, p);
    }
    STDMETHODIMP get_accHelp(VARIANT v, BSTR* p) override { return m_pStandard->get_accHelp(v, p); }
    STDMETHODIMP get_accHelpTopic(BSTR* p, VARIANT v, long* pn) override {
        return m_pStandard->get_accHelpTopic(p, v, pn);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT v, BSTR* p) override {
        return m_pStandard->get_accKeyboardShortcut(v, p);
    }
    STDMETHODIMP get_accFocus(VARIANT* p) override { return m_pStandard->get_accFocus(p); }
    STDMETHODIMP get_accSelection(VARIANT* p) override { return m_pStandard->get_accSelection(p); }
    STDMETHODIMP get_accDefaultAction(VARIANT v, BSTR* p) override {
        return m_pStandard->get_accDefaultAction(v, p);
    }
    STDMETHODIMP accSelect(long n, VARIANT v) override { return m_pStandard->accSelect(n, v); }
    STDMETHODIMP accLocation(long* px, long* py, long* pw, long* ph, VARIANT v) override {
        return m_pStandard->accLocation(px, py, pw, ph, v);
    }
    STDMETHODIMP accNavigate(long n, VARIANT v, VARIANT* p) override {
        return m_pStandard->accNavigate(n, v, p);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* p) override {
        return m_pStandard->accHitTest(x, y, p);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT v) override {
        return m_pStandard->accDoDefaultAction(v);
    }
    STDMETHODIMP put_accName(VARIANT v, BSTR s) override { return m_pStandard->put_accName(v, s); }
    STDMETHODIMP put_accValue(VARIANT v, BSTR s) override {
        return m_pStandard->put_accValue(v, s);
    }

private:
    ~CAccessibleOverlay() { m_pStandard->Release(); }
    static bool IsSelf(const VARIANT& varChild) {
        return varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF;
    }
    // The control's own answer over the standard one (hr, *pvar): the facts
    // turn the standard number into the control's.
    HRESULT Overlay(HRESULT hr, const VARIANT& varChild, VARIANT* pvar,
                    long (*pfnFacts)(const AccessibleFacts&, long)) const {
        if (!IsSelf(varChild)) {
            return hr;
        }
        const long nStandard = SUCCEEDED(hr) && pvar->vt == VT_I4 ? pvar->lVal : 0;
        pvar->vt = VT_I4;
        pvar->lVal = pfnFacts(m_facts, nStandard);
        return S_OK;
    }

    LONG m_nRefs = 1;
    IAccessible* m_pStandard;
    AccessibleFacts m_facts;  // a copy: the answer is about this moment
};

}  // namespace

long AccessibleRole(const AccessibleFacts& facts, long nStandardRole) {
    switch (facts.nKind) {
        case AccessibleFacts::kButton:
            return ROLE_SYSTEM_PUSHBUTTON;
        case AccessibleFacts::kCheckBox:
            return ROLE_SYSTEM_CHECKBUTTON;
        case AccessibleFacts::kLink:
            return ROLE_SYSTEM_LINK;
        case AccessibleFacts::kExpander:
            return ROLE_SYSTEM_BUTTONDROPDOWN;
        case AccessibleFacts::kProgress:
            return ROLE_SYSTEM_PROGRESSBAR;
        case AccessibleFacts::kPlain:
            break;
    }
    return nStandardRole;
}

long AccessibleState(const AccessibleFacts& facts, long nStandardState) {
    // An owner-drawn button reports nothing of what its pictures show.
    long nState = nStandardState & ~(STATE_SYSTEM_CHECKED | STATE_SYSTEM_EXPANDED |
                                     STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_PRESSED);
    switch (facts.nKind) {
        case AccessibleFacts::kCheckBox:
            return facts.bOn ? nState | STATE_SYSTEM_CHECKED : nState;
        case AccessibleFacts::kExpander:
            return nState | (facts.bOn ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
        case AccessibleFacts::kLink:
            return nState | STATE_SYSTEM_LINKED;
        case AccessibleFacts::kButton:
        case AccessibleFacts::kProgress:
            return nState;
        case AccessibleFacts::kPlain:
            break;
    }
    return nStandardState;
}

LRESULT AnswerAccessibleObject(HWND hWnd, WPARAM wParam, LPARAM lParam,
                               const AccessibleFacts& facts) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return 0;
    }
    IAccessible* pStandard = nullptr;
    if (FAILED(CreateStdAccessibleObject(hWnd, OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&pStandard)))) {
        return 0;
    }
    CAccessibleOverlay* pOverlay = new (std::nothrow) CAccessibleOverlay(pStandard, facts);
    pStandard->Release();
    if (!pOverlay) {
        return 0;
    }
    // The client holds its own reference from here on.
    const LRESULT lResult = LresultFromObject(IID_IAccessible, wParam, pOverlay);
    pOverlay->Release();
    return lResult > 0 ? lResult : 0;
}

void NotifyAccessibleChange(HWND hWnd, DWORD dwEvent) {
    NotifyWinEvent(dwEvent, hWnd, OBJID_CLIENT, CHILDID_SELF);
}
