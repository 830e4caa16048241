#include "saver/player/BackgroundRender.h"

#include <exception>

#include "framework/Application.h"
#include "framework/Scoped.h"

namespace kv {

BackgroundRender::BackgroundRender(std::function<HRESULT()> job, HWND window, UINT message, WPARAM token)
    : result_(std::make_shared<std::atomic<HRESULT>>(E_PENDING)),
      thread_([job = std::move(job), result = result_, window, message, token]() mutable {
          HRESULT hr = E_UNEXPECTED;
          {
              ScopedCoInitialize com(COINIT_MULTITHREADED);
              try {
                  hr = job();
              } catch (const std::exception& e) {
                  // The load thread's boundary: the file does not play, and the reason goes
                  // to the debugger's output (the open's failure event names only the code).
                  Application.LogError(e.what());
                  hr = E_UNEXPECTED;
              }
              job = nullptr;
          }
          *result = hr;
          PostMessageW(window, message, token, 0);
      }) {}

}  // namespace kv
