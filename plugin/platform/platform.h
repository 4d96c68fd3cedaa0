// The few loader and debugger calls the plug-in makes, under their Windows
// names. On Windows they are the system's own; on POSIX systems
// platform_posix.cpp gives them the same meaning, with a module handle being
// the address the module is loaded at, as on Windows.
#pragma once

#include <cstdint>

namespace kamoria::platform {

using ModuleHandle = void*;

// A module already loaded in the process, by name; ".dll" (".so") is added
// to a name without an extension. Never loads anything; null when absent.
ModuleHandle GetModuleHandleA(const char* name);
// A module's export by number, or null (also for a null module).
void* GetProcAddress(ModuleHandle module, uint16_t ordinal);
// The module's file path, cut to the buffer and always terminated when the
// buffer has room; the length copied.
uint32_t GetModuleFileNameA(ModuleHandle module, char* path, uint32_t size);
bool IsDebuggerPresent();
void OutputDebugStringA(const char* text);

}  // namespace kamoria::platform

namespace kamoria {
// Runs when the library is attached to a process, before anything else in
// the plug-in; the platform layer calls it from the loader's notification.
void onLibraryLoad(platform::ModuleHandle self, uint32_t reason);
}  // namespace kamoria
