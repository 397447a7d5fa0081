#include "companions/vexabase/FileTrustObject.h"
#include "companions/vexabase/TrustAnswer.h"

extern "C" {

__declspec(dllexport) int WINAPI InitLibs(uint32_t* count) {
    return FillFunctionTable(count, AnswerIsTrustedFile);
}

__declspec(dllexport) HRESULT WINAPI CreateObject(REFCLSID classId, void** object) {
    return CFileTrustObject::Create(classId, object);
}
}
