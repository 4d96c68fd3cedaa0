#include "support/modules.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace testing_support {

#if defined(_WIN32)
// Wide paths throughout: the narrow calls go through the ANSI code page, which
// under Wine follows the locale and cannot spell every directory name.
Module loadModule(const std::filesystem::path& path) {
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr)
    throw std::runtime_error("cannot load " + path.string() + " (error " + std::to_string(GetLastError()) + ")");
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
std::filesystem::path buildDirectory() {
  // A build tree deeper than MAX_PATH must not be cut short silently.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error("cannot find the test program's path");
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(path).parent_path().parent_path();
}
const char* moduleExtension() { return ".dll"; }
#else
Module loadModule(const std::filesystem::path& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) throw std::runtime_error(std::string("cannot load ") + dlerror());
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
std::filesystem::path buildDirectory() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}
const char* moduleExtension() { return ".so"; }
#endif

}  // namespace testing_support
