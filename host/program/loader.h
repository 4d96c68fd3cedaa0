// Loading modules by path and finding their exports, on either platform, the
// way a host does it. The weltor program and the tests both load with it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace weltor_program {

using Module = void*;

// Null when it cannot; loadError() then says why.
Module loadModule(const std::filesystem::path& path);
std::string loadError();
void unloadModule(Module module);
void* namedExport(Module module, const char* name);
void* numberedExport(Module module, uint16_t ordinal);
// Whether a module named WELTOR is loaded in the process.
bool hostModuleLoaded();
std::filesystem::path programDirectory();
const char* moduleExtension();

}  // namespace weltor_program
