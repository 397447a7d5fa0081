#pragma once

#include <span>

#include "app/base/DeskMessages.h"
#include "app/shell/CommandDispatch.h"

// One widget as the main window reaches it: the commands that open and close it and what they do.
// The main window knows no widget by name; every widget is a row of ShellWidgets().
struct ShellWidget {
    DeskWidgetId id;
    // The commands that open it (twice the same when there is only one).
    DeskCommand opens[2];
    DeskCommand close;
    // Gets the command that opened it (the monitor starts differently with "/tempauto").
    void (*onOpen)(DeskCommand command);
    // Null: the close command only stops counting the widget as open.
    void (*onClose)();
    // Whether the widget is on now (for the monitor, also while it offers or installs the tool): what its
    // state messages are checked against.
    bool (*isShown)();
};

std::span<const ShellWidget> ShellWidgets();
