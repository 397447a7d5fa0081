#!/usr/bin/env python3
"""tools/check-includes: passes on the repository, and on a planted tree fails exactly for wrong-way includes."""
import os
import subprocess
import sys
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "check-includes")

# (file, include, must fail)
CASES = [
    ("app/base/SingletonT.h", "app/AppContext.h", True),
    ("app/base/SmartLogger.cpp", "app/shell/MainWnd.h", True),
    ("integrity/Digest.h", "app/SystemUtils.h", True),
    ("layer/LayerCanvas.cpp", "app/IniSettings.h", True),
    ("layer/LayerCanvas.cpp", "net/Statistic.h", True),
    ("app/IniSettings.cpp", "layer/SkinRegistry.h", True),
    ("app/IniSettings.cpp", "net/Statistic.h", True),
    ("net/Statistic.cpp", "layer/Image.h", True),
    ("calendar/CalendarWnd.cpp", "weather/WeatherWnd.h", True),
    ("calendar/CalendarWnd.cpp", "app/shell/MainWnd.h", True),
    ("news/NewsWnd.cpp", "guide/MsgBox.h", True),
    ("companions/netul/HttpTask.cpp", "net/HttpService.h", True),
    ("companions/wpapp/BarWnd.cpp", "app/IniSettings.h", True),
    ("ui/UIDialog.cpp", "layer/LayerText.h", True),
    ("ui/UIDialog.cpp", "net/HttpService.h", True),
    ("ui/UIDialog.cpp", "weather/WeatherSetWnd.h", True),
    ("app/IniSettings.cpp", "ui/UIDialog.h", True),
    ("layer/LayerCanvas.cpp", "ui/UIDialog.h", True),
    ("guide/MsgBox.cpp", "ui/UIDialog.h", True),
    ("app/base/SmartLogger.cpp", "app/base/ScopedHandle.h", False),
    ("integrity/Digest.h", "app/base/ScopedHandle.h", False),
    ("app/TrustedFile.cpp", "integrity/AuthenticodeVerifier.h", False),
    ("net/Statistic.cpp", "app/IniSettings.h", False),
    ("calendar/CalendarWnd.cpp", "layer/SkinRegistry.h", False),
    ("monitor/MonitorWnd.cpp", "guide/MsgBox.h", False),
    ("ui/UIDialog.cpp", "app/UIThreadWindow.h", False),
    ("weather/WeatherSetWnd.cpp", "ui/UIDialog.h", False),
    ("app/shell/MainWnd.cpp", "calendar/CalendarWnd.h", False),
    ("companions/wpapp/BarWnd.cpp", "integrity/SystemTrust.h", False),
]


def run(root):
    return subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)


def main():
    failures = []
    tree = run(os.path.join(os.path.dirname(CHECKER), ".."))
    if tree.returncode != 0:
        failures.append("the repository itself:\n" + tree.stderr)
    for source, include, must_fail in CASES:
        with tempfile.TemporaryDirectory() as root:
            path = os.path.join(root, source)
            os.makedirs(os.path.dirname(path))
            with open(path, "w") as planted:
                planted.write(f'#pragma once\n\n#include <windows.h>\n#include "{include}"\n')
            result = run(root)
            failed = result.returncode != 0
            if failed != must_fail or (failed and f"{source}:4:" not in result.stderr):
                failures.append(f"{source} including {include}: exit {result.returncode}, {result.stderr.strip()!r}")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
