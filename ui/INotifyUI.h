#pragma once

#include <string>

class CUIControl;

// A notification from a dialog's control: its type ("click", "itemselect"), the control (its name tells which)
// and, for "itemselect", the picked item's index.
struct TNotifyUI {
    std::wstring type;
    CUIControl* sender = nullptr;
    int index = -1;
};

// What a dialog tells its owner about its controls; called on the UI thread.
class INotifyUI {
public:
    virtual void Notify(const TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};
