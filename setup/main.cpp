// The setup program's entry. It takes no arguments.
#include <windows.h>

#include "framework/Application.h"
#include "setup/Form1.h"
#include "setup/InstallRules.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using kv::Application;
    Application.Initialize();
    Application.SetTitle(kv::DefaultApplicationTitle(Application.ExeName()));
    Application.Guard([] {
        Application.CreateForm<kv::TForm1>();
        Application.Run();
    });
    Application.Shutdown();
    return 0;
}
