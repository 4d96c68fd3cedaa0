#include "frame/entries.h"

#include <cstring>

#include "config/config_form.h"
#include "config/install_notice.h"
#include "frame/binding.h"
#include "frame/identity.h"
#include "frame/load_checks.h"
#include "hooks/screen_hooks.h"

namespace kamoria {

platform::ModuleHandle ownModule = nullptr;
char ownPath[kOwnPathSize] = {};
const char* pluginFileName = ownPath;
ConfigCommand configCommandEntry = nullptr;

const char* fileNameOf(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  return name;
}

namespace {
constexpr uint32_t kProcessAttach = 1;
}

void onLibraryLoad(platform::ModuleHandle self, uint32_t reason) {
  if (reason != kProcessAttach) return;
  ownModule = self;
  platform::GetModuleFileNameA(self, ownPath, kOwnPathSize);
  ownPath[kOwnPathSize - 1] = '\0';
  pluginFileName = fileNameOf(ownPath);
  findHostModule();
  // The cells are bound before the loader hands the library to anyone.
  bindAllHostFunctions();
}

}  // namespace kamoria

using namespace kamoria;

int32_t ordinal_30001(FeatureFunction featureFunction, char* descriptionBuffer) {
  if (featureFunction == nullptr) {
    removeScreenHooks();
    return 0;
  }
  featureCheck = featureFunction;
  if (descriptionBuffer != nullptr)
    std::memcpy(descriptionBuffer, pluginDescription.c_str(), kPluginDescriptionSize);
  if (runLoadChecks() != 0) return -1;
  configCommandEntry = &configCommand;
  return 0;
}

int32_t ordinal_30008(int32_t value) {
  if (value != 0) {
    showFailureReport();
    return 0;
  }
  installScreenHooks();
  installNotice();
  return 0;
}

int32_t ordinal_30009(void) { return 0; }

int32_t ordinal_30010(int32_t value) {
  if (configCommandEntry == nullptr) return kNotConfigurable;
  return configCommandEntry(value);
}
