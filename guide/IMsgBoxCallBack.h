#pragma once

#include <string>

// Told which way the user answered a message box: 0 OK, 1 Cancel, 2 closed with the close button,
// with the tag the box's owner gave it.
class IMsgBoxCallBack {
public:
    virtual void OnMsgBoxResult(int result, std::wstring tag) = 0;

protected:
    ~IMsgBoxCallBack() = default;
};
