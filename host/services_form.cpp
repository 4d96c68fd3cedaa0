// Forms, the warehouse picker, question dialogs and the profile file.
#include "services.h"

namespace weltor {

// PLACEHOLDER services until the form is built: each call is only logged.
void resetForm(HostState&) {}
int32_t runForm(void*, int32_t, void*, FormHandler) { return 0; }
int32_t pickWarehouse(int32_t current, int32_t, int32_t) { return current; }
char* formFieldBuffer(int32_t) { return nullptr; }
int32_t checkWarehouseNo(int32_t warehouse, int32_t) { return warehouse; }
int32_t askDialog(int32_t, int32_t*, int32_t, const char*) { return 0; }
int32_t profileIo(const char*, int32_t, const char*, const char*, const char*, va_list) { return 1; }

}  // namespace weltor
