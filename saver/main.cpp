// The screen saver's program entry.
#include <windows.h>

#include "framework/Application.h"
#include "framework/Terminate.h"
#include "saver/player/MFSession.h"
#include "saver/window/FormMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using kv::Application;
    Application.Initialize();
    Application.SetTitle("KINOVELA");
    Application.Guard([] {
        Application.CreateForm<kv::TFormMain>();
        Application.Run();
    });
    Application.Shutdown();
    kv::MFSession::EndProcess(0);
}
