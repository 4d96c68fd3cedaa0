#include "loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace weltor_program {

namespace {
std::string lastError;
}

std::string loadError() { return lastError; }

#if defined(_WIN32)
// Wide paths throughout: the narrow calls go through the ANSI code page, which
// under Wine follows the locale and cannot spell every directory name.
Module loadModule(const std::filesystem::path& path) {
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) lastError = "cannot load " + path.string() + " (error " + std::to_string(GetLastError()) + ")";
  return module;
}
void unloadModule(Module module) { FreeLibrary(static_cast<HMODULE>(module)); }
void* namedExport(Module module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void* numberedExport(Module module, uint16_t ordinal) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}
bool hostModuleLoaded() { return GetModuleHandleW(L"WELTOR") != nullptr; }
std::filesystem::path programDirectory() {
  // A directory deeper than MAX_PATH must not be cut short silently.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(path).parent_path();
}
const char* moduleExtension() { return ".dll"; }
#else
Module loadModule(const std::filesystem::path& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) lastError = std::string("cannot load ") + dlerror();
  return module;
}
void unloadModule(Module module) { dlclose(module); }
void* namedExport(Module module, const char* name) { return dlsym(module, name); }
void* numberedExport(Module module, uint16_t ordinal) {
  const std::string name = "ordinal_" + std::to_string(ordinal);
  return dlsym(module, name.c_str());
}
bool hostModuleLoaded() {
  void* module = dlopen("WELTOR.so", RTLD_LAZY | RTLD_NOLOAD);
  if (module != nullptr) dlclose(module);
  return module != nullptr;
}
std::filesystem::path programDirectory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }
const char* moduleExtension() { return ".so"; }
#endif

}  // namespace weltor_program
