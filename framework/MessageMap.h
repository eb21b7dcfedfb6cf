#pragma once

#include <windows.h>

#include "Geometry.h"
#include "Window.h"

// Message maps: a class lists its handlers between BEGIN_MSG_MAP and
// END_MSG_MAP; the first entry that handles a message ends the search.
// Cracked handlers (MSG_WM_*) mark the message handled unless they call
// SetMsgHandled(FALSE).

// Reflected notifications come back to the child with this added.
#define OCM__BASE (WM_USER + 0x1c00)
#define OCM_COMMAND (OCM__BASE + WM_COMMAND)
#define OCM_DRAWITEM (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM__BASE + WM_MEASUREITEM)
#define OCM_COMPAREITEM (OCM__BASE + WM_COMPAREITEM)
#define OCM_DELETEITEM (OCM__BASE + WM_DELETEITEM)

class CMessageMap {
public:
    virtual ~CMessageMap() = default;
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD dwMsgMapId = 0) = 0;

    BOOL IsMsgHandled() const { return m_bMsgHandled; }
    void SetMsgHandled(BOOL bHandled) { m_bMsgHandled = bHandled; }

protected:
    BOOL m_bMsgHandled = TRUE;
};

// Sends a notification that came from a child control back to that child,
// as OCM__BASE + the message. Returns FALSE when the message is no such
// notification or names no child.
BOOL ReflectNotifications(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
// The reflected messages a control does not handle go to the system's
// default procedure under their plain number.
BOOL DefaultReflectionHandler(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

#define BEGIN_MSG_MAP(theClass)                                                   \
public:                                                                           \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, \
                              LRESULT& lResult, DWORD dwMsgMapId = 0) override {  \
        BOOL bHandled = TRUE;                                                     \
        (void)hWnd;                                                               \
        (void)uMsg;                                                               \
        (void)wParam;                                                             \
        (void)lParam;                                                             \
        (void)lResult;                                                            \
        (void)bHandled;                                                           \
        (void)dwMsgMapId;

#define END_MSG_MAP() \
    return FALSE;     \
    }

// LRESULT OnX(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
#define MESSAGE_HANDLER(msg, func)                      \
    if (uMsg == (msg)) {                                \
        bHandled = TRUE;                                \
        lResult = func(uMsg, wParam, lParam, bHandled); \
        if (bHandled)                                   \
            return TRUE;                                \
    }

// A base class's map; what it handles stops there.
#define CHAIN_MSG_MAP(theChainClass)                                                 \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) \
        return TRUE;

#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapId)                                          \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapId)) \
        return TRUE;

// A member's map first: what it handles stops there. The member derives
// from CMessageMap.
#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                           \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) \
        return TRUE;

// void OnX(): a click of button id, as WTL's COMMAND_ID_HANDLER_EX with the
// fields a click does not need left out.
#define BN_CLICKED_HANDLER(id, func)                                                    \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED) { \
        SetMsgHandled(TRUE);                                                            \
        func();                                                                         \
        lResult = 0;                                                                    \
        if (IsMsgHandled())                                                             \
            return TRUE;                                                                \
    }

// void OnX(): a message that carries nothing (a notice), such as a
// registered one.
#define MSG_NOTICE(msg, func) MSG_CRACKED_VOID(msg, func())

#define REFLECT_NOTIFICATIONS()                                    \
    if (ReflectNotifications(hWnd, uMsg, wParam, lParam, lResult)) \
        return TRUE;

#define DEFAULT_REFLECTION_HANDLER()                                   \
    if (DefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult)) \
        return TRUE;

// Cracked handlers.
#define MSG_CRACKED_BEGIN(msg) \
    if (uMsg == (msg)) {       \
        SetMsgHandled(TRUE);
#define MSG_CRACKED_END() \
    if (IsMsgHandled())   \
        return TRUE;      \
    }
// A cracked handler whose answer is value.
#define MSG_CRACKED_RESULT(msg, value) \
    MSG_CRACKED_BEGIN(msg)             \
    lResult = (value);                 \
    MSG_CRACKED_END()
// A cracked handler that returns nothing: the call, then lResult 0.
#define MSG_CRACKED_VOID(msg, call) \
    MSG_CRACKED_BEGIN(msg)          \
    call;                           \
    lResult = 0;                    \
    MSG_CRACKED_END()

// void OnMouseMove(UINT nFlags, CPoint point)
#define MSG_WM_MOUSEMOVE(func) \
    MSG_CRACKED_VOID(WM_MOUSEMOVE, func(static_cast<UINT>(wParam), CPoint(lParam)))
// void OnLButtonDown(UINT nFlags, CPoint point)
#define MSG_WM_LBUTTONDOWN(func) \
    MSG_CRACKED_VOID(WM_LBUTTONDOWN, func(static_cast<UINT>(wParam), CPoint(lParam)))
// void OnLButtonDblClk(UINT nFlags, CPoint point)
#define MSG_WM_LBUTTONDBLCLK(func) \
    MSG_CRACKED_VOID(WM_LBUTTONDBLCLK, func(static_cast<UINT>(wParam), CPoint(lParam)))
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags): nFlags is the high
// word of lParam (KF_REPEAT: the key was already down).
#define MSG_WM_KEYDOWN(func) \
    MSG_CRACKED_VOID(WM_KEYDOWN, func(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
// void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
#define MSG_WM_KEYUP(func) \
    MSG_CRACKED_VOID(WM_KEYUP, func(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
// UINT OnGetDlgCode(LPMSG pMsg)
#define MSG_WM_GETDLGCODE(func) \
    MSG_CRACKED_RESULT(WM_GETDLGCODE, func(reinterpret_cast<LPMSG>(lParam)))
// void OnLButtonUp(UINT nFlags, CPoint point)
#define MSG_WM_LBUTTONUP(func) \
    MSG_CRACKED_VOID(WM_LBUTTONUP, func(static_cast<UINT>(wParam), CPoint(lParam)))
// void OnTimer(UINT_PTR nIdEvent)
#define MSG_WM_TIMER(func) MSG_CRACKED_VOID(WM_TIMER, func(static_cast<UINT_PTR>(wParam)))
// BOOL OnSetCursor(CWindow wnd, UINT nHitTest, UINT message)
#define MSG_WM_SETCURSOR(func)                                                                     \
    MSG_CRACKED_RESULT(WM_SETCURSOR, func(CWindow(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), \
                                          HIWORD(lParam)))
// void OnContextMenu(CWindow wnd, CPoint point)
#define MSG_WM_CONTEXTMENU(func) \
    MSG_CRACKED_VOID(WM_CONTEXTMENU, func(CWindow(reinterpret_cast<HWND>(wParam)), CPoint(lParam)))
// UINT OnNcHitTest(CPoint point), the point in screen coordinates
#define MSG_WM_NCHITTEST(func) MSG_CRACKED_RESULT(WM_NCHITTEST, func(CPoint(lParam)))
// void OnClose()
#define MSG_WM_CLOSE(func) MSG_CRACKED_VOID(WM_CLOSE, func())
// BOOL OnInitDialog(CWindow wndFocus, LPARAM lInitParam): TRUE to let the
// dialog manager set the focus.
#define MSG_WM_INITDIALOG(func) \
    MSG_CRACKED_RESULT(WM_INITDIALOG, func(CWindow(reinterpret_cast<HWND>(wParam)), lParam))
// void OnDestroy()
#define MSG_WM_DESTROY(func) MSG_CRACKED_VOID(WM_DESTROY, func())
// void OnPaint(HDC hDc): hDc is 0 for a plain WM_PAINT
#define MSG_WM_PAINT(func) MSG_CRACKED_VOID(WM_PAINT, func(reinterpret_cast<HDC>(wParam)))
// HBRUSH OnCtlColorStatic(HDC hDc, HWND hStatic)
#define MSG_WM_CTLCOLORSTATIC(func)               \
    MSG_CRACKED_RESULT(WM_CTLCOLORSTATIC,         \
                       reinterpret_cast<LRESULT>( \
                           func(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))))
// void OnDpiChanged(UINT nDpiX, UINT nDpiY, const RECT* pSuggested)
#define MSG_WM_DPICHANGED(func)     \
    MSG_CRACKED_VOID(WM_DPICHANGED, \
                     func(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)))
