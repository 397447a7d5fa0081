#pragma once

#include "app/AppContext.h"
#include "app/UIThreadWindow.h"
#include "layer/SkinRegistry.h"
#include "unit/app/ScratchFolder.h"
#include "unit/layer/SkinTestSupport.h"

// A suite whose widget windows live in this process as the program sets them up: GDI+ started, the skin of
// deskling.exe registered, the test thread as the UI thread, and a scratch data folder.
class CWidgetTest : public CGdiplusTest {
protected:
    static void SetUpTestSuite() {
        CGdiplusTest::SetUpTestSuite();
        static CScratchFolder data(L"widget-data");
        CAppContext::GetInstance()->SetDataFolderBase(data.Path());
        static CModule resources = OpenDesklingResources();
        s_resources = resources.Get();
        Skin()->SetResourceModule(s_resources);
        Skin()->RegisterSkin(InstalledTrueTypeFace());
        CUIThreadWindow::GetInstance()->Create();
    }
    void SetUp() override {
        CGdiplusTest::SetUp();
        ASSERT_NE(s_resources, nullptr) << "deskling.exe is built beside the tests";
    }

    static inline HMODULE s_resources = nullptr;
};
