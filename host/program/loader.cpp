#include "loader.h"

#include <iostream>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace weltor_program {

#if defined(_WIN32)
Module loadModule(const std::filesystem::path& path) {
  HMODULE module = LoadLibraryA(path.string().c_str());
  if (module == nullptr) std::cerr << "weltor: cannot load " << path.string() << "\n";
  return module;
}
void unloadModule(Module module) { FreeLibrary(static_cast<HMODULE>(module)); }
void* namedExport(Module module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void* numberedExport(Module module, uint16_t ordinal) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}
std::filesystem::path programDirectory() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}
const char* moduleExtension() { return ".dll"; }
#else
Module loadModule(const std::filesystem::path& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) std::cerr << "weltor: " << dlerror() << "\n";
  return module;
}
void unloadModule(Module module) { dlclose(module); }
void* namedExport(Module module, const char* name) { return dlsym(module, name); }
void* numberedExport(Module module, uint16_t ordinal) {
  const std::string name = "ordinal_" + std::to_string(ordinal);
  return dlsym(module, name.c_str());
}
std::filesystem::path programDirectory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }
const char* moduleExtension() { return ".so"; }
#endif

}  // namespace weltor_program
