/* The resource is what matters; this export only gives the library a body. */
__declspec(dllexport) int VersionProbeMarker(void) {
    return 1;
}
