#pragma once

// Whether the system's own Authenticode policy accepts the file's signature chain (no revocation
// check, no network, no user interface). Slow the first time in a process: it loads the system's
// root store.
bool IsChainTrustedBySystem(const wchar_t* path);
