#include <windows.h>

#include "platform/platform.h"

namespace kamoria::platform {

ModuleHandle GetModuleHandleA(const char* name) { return ::GetModuleHandleA(name); }

void* GetProcAddress(ModuleHandle module, uint16_t ordinal) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(
      ::GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}

uint32_t GetModuleFileNameA(ModuleHandle module, char* path, uint32_t size) {
  return ::GetModuleFileNameA(static_cast<HMODULE>(module), path, size);
}

bool IsDebuggerPresent() { return ::IsDebuggerPresent() != FALSE; }

void OutputDebugStringA(const char* text) { ::OutputDebugStringA(text); }

}  // namespace kamoria::platform

// The loader's notification reaches the plug-in here, before the C++ runtime
// has set anything up; the plug-in has no dynamic initialisers, so nothing is
// lost by running first.
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  kamoria::onLibraryLoad(self, reason);
  return TRUE;
}
