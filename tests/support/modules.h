// Loading modules by path and finding their exports, as a host does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace testing_support {

using Module = void*;

Module loadModule(const std::filesystem::path& path);
void unloadModule(Module module);
void* namedExport(Module module, const char* name);
void* numberedExport(Module module, uint16_t ordinal);
// Whether a module named WELTOR is loaded in the process.
bool hostModuleLoaded();
// The directory of the running test program (the build tree).
std::filesystem::path buildDirectory();
const char* moduleExtension();

}  // namespace testing_support
