// Item files, the bar-code link file and the item lists.
#include "services.h"

namespace weltor {

// PLACEHOLDER services until the stock data is built: each call is only logged.
void resetStock(HostState&) {}
int32_t tableOpen(void*, int32_t, int32_t, const char*, int32_t, int32_t) { return 0; }
int32_t tableReadNext(void*) { return 0; }
int32_t tableClose(void*) { return 0; }
int32_t tableObjectRelease(void*) { return 0; }
int32_t tableFilePath(int32_t, TableRef**, char* path, int32_t) { if (path) path[0] = '\0'; return 0; }
int32_t warehouseFilePath(int32_t, char* path, const char*, const char*, int32_t) { if (path) path[0] = '\0'; return 0; }
int32_t loadItemRecord(int32_t, int32_t) { return 0; }
int32_t textCompare(const char*, const char*, int32_t) { return 1; }
int32_t copyText(char* destination, const char*, int32_t) { if (destination) destination[0] = '\0'; return 0; }
int32_t appendLine(const char*, const char*) { return 0; }
int32_t resyncHost() { return 0; }
void* getScreenItem(int16_t) { return nullptr; }
int32_t fseek_lista(void*, int32_t, int32_t, int32_t) { return 0; }
int32_t fseek_lista_new(void*, int32_t, void*) { return 0; }
int32_t showFileList(const char*, const char*, int32_t, const char*, int32_t) { return 0; }

}  // namespace weltor
