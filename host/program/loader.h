// Loading modules by path and finding their exports, on either platform.
#pragma once

#include <cstdint>
#include <filesystem>

namespace weltor_program {

using Module = void*;

Module loadModule(const std::filesystem::path& path);  // null when it cannot
void unloadModule(Module module);
void* namedExport(Module module, const char* name);
void* numberedExport(Module module, uint16_t ordinal);
std::filesystem::path programDirectory();
const char* moduleExtension();

}  // namespace weltor_program
