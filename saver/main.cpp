#include <windows.h>

#include "framework/Application.h"
#include "framework/Form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kv::Application.Initialize();
    kv::Application.SetTitle("KINOVELA");
    kv::Application.CreateForm<kv::Form>(kv::FormArgs{.caption = "KINOVELA", .clientWidth = 417, .clientHeight = 368});
    kv::Application.Run();
    kv::Application.Shutdown();
    return 0;
}
