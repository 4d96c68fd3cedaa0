#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace kamoria::platform {

namespace {

const char* baseName(const char* path) {
  const char* base = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '/') base = p + 1;
  return base;
}

struct ModuleSearch {
  const char* wantedName;  // by base name, or
  ModuleHandle wantedBase;  // by load address
  ModuleHandle foundBase;
  const char* foundPath;
};

int visitModule(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<ModuleSearch*>(data);
  const char* path = info->dlpi_name != nullptr ? info->dlpi_name : "";
  auto* base = reinterpret_cast<ModuleHandle>(info->dlpi_addr);
  const bool matches = search->wantedName != nullptr
                           ? path[0] != '\0' && std::strcmp(baseName(path), search->wantedName) == 0
                           : base == search->wantedBase;
  if (!matches) return 0;
  search->foundBase = base;
  search->foundPath = path;
  return 1;
}

}  // namespace

ModuleHandle GetModuleHandleA(const char* name) {
  if (name == nullptr) return nullptr;
  char fileName[256];
  const bool hasExtension = std::strchr(baseName(name), '.') != nullptr;
  if (hasExtension)
    std::snprintf(fileName, sizeof fileName, "%s", name);
  else
    std::snprintf(fileName, sizeof fileName, "%s.so", name);
  ModuleSearch search{fileName, nullptr, nullptr, nullptr};
  dl_iterate_phdr(visitModule, &search);
  return search.foundBase;
}

void* GetProcAddress(ModuleHandle module, uint16_t ordinal) {
  if (module == nullptr) return nullptr;
  ModuleSearch search{nullptr, module, nullptr, nullptr};
  if (dl_iterate_phdr(visitModule, &search) == 0) return nullptr;

  void* const handle = dlopen(search.foundPath, RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) return nullptr;
  char symbol[32];
  std::snprintf(symbol, sizeof symbol, "ordinal_%u", static_cast<unsigned>(ordinal));
  void* found = dlsym(handle, symbol);
  dlclose(handle);

  // dlsym also searches the module's dependencies; an export is the
  // module's own or it is missing.
  Dl_info where{};
  if (found != nullptr && (dladdr(found, &where) == 0 || where.dli_fbase != module)) found = nullptr;
  return found;
}

uint32_t GetModuleFileNameA(ModuleHandle module, char* path, uint32_t size) {
  if (path == nullptr || size == 0) return 0;
  ModuleSearch search{nullptr, module, nullptr, nullptr};
  if (dl_iterate_phdr(visitModule, &search) == 0) {
    path[0] = '\0';
    return 0;
  }
  const size_t length = std::strlen(search.foundPath);
  const size_t copied = length < size ? length : size - 1;
  std::memcpy(path, search.foundPath, copied);
  path[copied] = '\0';
  return static_cast<uint32_t>(copied);
}

bool IsDebuggerPresent() {
  const int file = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  char status[4096];
  const ssize_t length = read(file, status, sizeof status - 1);
  close(file);
  if (length <= 0) return false;
  status[length] = '\0';
  const char* tracer = std::strstr(status, "TracerPid:");
  if (tracer == nullptr) return false;
  tracer += std::strlen("TracerPid:");
  while (*tracer == ' ' || *tracer == '\t') ++tracer;
  return *tracer != '\0' && *tracer != '0';
}

void OutputDebugStringA(const char* text) {
  if (text == nullptr) return;
  const size_t length = std::strlen(text);
  size_t written = 0;
  while (written < length) {
    const ssize_t step = write(STDERR_FILENO, text + written, length - written);
    if (step <= 0) return;
    written += static_cast<size_t>(step);
  }
}

}  // namespace kamoria::platform

namespace {

constexpr uint32_t kProcessAttach = 1;

// The loader runs this while the library is being loaded, before the call
// that loads it returns: the same moment as Windows' process attach.
[[gnu::constructor]] void attachToProcess() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&attachToProcess), &self) == 0) return;
  kamoria::onLibraryLoad(self.dli_fbase, kProcessAttach);
}

}  // namespace
