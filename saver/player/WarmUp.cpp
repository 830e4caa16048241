#include "saver/player/WarmUp.h"

#include <windows.h>
#include <dshow.h>
#include <initguid.h>
#include <mmdeviceapi.h>

#include "framework/Scoped.h"

namespace kv {
namespace {

// Wine's GStreamer splitter: creating one loads GStreamer and its plugin registry.
const CLSID kGStreamerSplitter = {0xf9d8d64e, 0xa144, 0x47dc, {0x8e, 0xe0, 0xf5, 0x34, 0x98, 0x37, 0x2c, 0x29}};

void Touch(const CLSID& clsid, const IID& iid) {
    ComPtr<IUnknown> object;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.PutVoid());
}

DWORD WINAPI WarmUp(void*) {
    HRESULT co = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Touch(CLSID_FilterGraph, IID_IUnknown);
    Touch(kGStreamerSplitter, IID_IUnknown);
    // The sound device: its driver connects to the sound server once per process.
    ComPtr<IMMDeviceEnumerator> devices;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IMMDeviceEnumerator), devices.PutVoid()))) {
        ComPtr<IMMDevice> device;
        devices->GetDefaultAudioEndpoint(eRender, eConsole, device.Put());
    }
    devices.Reset();
    if (SUCCEEDED(co)) CoUninitialize();
    return 0;
}

}  // namespace

void WarmUpPlayback() {
    ScopedHandle thread(CreateThread(nullptr, 0, WarmUp, nullptr, 0, nullptr));
}

}  // namespace kv
