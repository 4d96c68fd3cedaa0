// Data files of the host's data directory.
#include "services.h"

namespace weltor {

// PLACEHOLDER services until data files are built: each call is only logged.
void resetFiles(HostState&) {}
void* findDataFile(const char*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return nullptr; }
void* fileNameConstruct(void* storage, void*) { return storage; }
void* fileNameOpen(void*) { return nullptr; }
void fileNameDestroy(void*) {}
int32_t fileRead(void*, int32_t, int32_t, void*) { return 0; }
int32_t fileWrite(const void*, int32_t, int32_t, void*) { return 0; }
int32_t fileClose(void*) { return 0; }

}  // namespace weltor
