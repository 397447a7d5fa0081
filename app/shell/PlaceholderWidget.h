#pragma once

#include <windows.h>

// Stands in for a widget window that is not built yet: it remembers whether it is shown, logs each
// call and reports its state to the main window exactly as a real widget does, so the dispatch and
// the idle exit behave as they will with the real windows.
class CPlaceholderWidget {
public:
    CPlaceholderWidget(WPARAM id, const wchar_t* name) : m_id(id), m_name(name) {}

    void Show(bool show);
    bool IsShown() const { return m_shown; }

private:
    WPARAM m_id;
    const wchar_t* m_name;
    bool m_shown = false;
};

CPlaceholderWidget& WeatherWidget();
