#include "guide/CenterOnOwner.h"

#include "app/base/SmartLogger.h"
#include "guide/CenteredPosition.h"

namespace {

PlacementRect ToPlacement(const RECT& rect) {
    return PlacementRect{rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

bool CenterOnOwner(HWND window, HWND owner) {
    if (!::IsWindow(window)) {
        return false;
    }
    RECT box{};
    ::GetWindowRect(window, &box);
    RECT centreOn{};
    RECT bounds{};
    if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
        HWND parent = ::GetParent(window);
        if (!owner) {
            owner = parent;
        }
        ::GetClientRect(parent, &bounds);
        ::GetClientRect(owner, &centreOn);
        ::MapWindowPoints(owner, parent, reinterpret_cast<POINT*>(&centreOn), 2);
    } else {
        if (!owner) {
            owner = ::GetWindow(window, GW_OWNER);
        }
        if (owner && (!::IsWindowVisible(owner) || ::IsIconic(owner))) {
            owner = nullptr;
        }
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (!::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor)) {
            WriteLog(L"[tid:%d] CenterOnOwner: no monitor information", ::GetCurrentThreadId());
            return false;
        }
        bounds = monitor.rcWork;
        if (owner) {
            ::GetWindowRect(owner, &centreOn);
        } else {
            centreOn = bounds;
        }
    }
    PlacementPoint position =
        CenteredPosition(ToPlacement(centreOn), box.right - box.left, box.bottom - box.top, ToPlacement(bounds));
    return ::SetWindowPos(window, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) !=
           FALSE;
}
