#pragma once

#include <windows.h>

// What the install controller asks of the window: the pages, the outcomes and
// its timers. The decisions are the controller's; the view only shows them.
class IInstallView {
public:
    virtual ~IInstallView() = default;
    // The installing page at 0%.
    virtual void ShowInstalling() = 0;
    // The bar and the status line at nPos percent.
    virtual void ShowProgress(int nPos) = 0;
    // The status line says that the program is connecting again.
    virtual void ShowReconnecting() = 0;
    // The installer has ended well: the finished page.
    virtual void ShowFinished() = 0;
    // The two ends of a failed installation: a box the user answers, then
    // the program ends. The network one offers the download in the browser.
    virtual void ShowNetworkFailure() = 0;
    virtual void ShowLocalFailure() = 0;
    // The controller's timers come back to it as WM_TIMER with nId.
    virtual void ArmTimer(UINT_PTR nId, UINT nMs) = 0;
    virtual void DisarmTimer(UINT_PTR nId) = 0;
};
