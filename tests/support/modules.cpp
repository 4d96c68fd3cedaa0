#include "support/modules.h"

#include <stdexcept>

namespace testing_support {

Module loadModule(const std::filesystem::path& path) {
  Module module = weltor_program::loadModule(path);
  if (module == nullptr) throw std::runtime_error(weltor_program::loadError());
  return module;
}

std::filesystem::path buildDirectory() { return weltor_program::programDirectory().parent_path(); }

}  // namespace testing_support
