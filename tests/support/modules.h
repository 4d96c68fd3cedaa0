// Loading modules by path and finding their exports, as a host does.
#pragma once

#include <filesystem>

#include "loader.h"

namespace testing_support {

using weltor_program::Module;
using weltor_program::hostModuleLoaded;
using weltor_program::moduleExtension;
using weltor_program::namedExport;
using weltor_program::numberedExport;
using weltor_program::unloadModule;

// Throws when the module cannot be loaded.
Module loadModule(const std::filesystem::path& path);
// The directory of the build tree (the test program lives in tests/).
std::filesystem::path buildDirectory();

}  // namespace testing_support
