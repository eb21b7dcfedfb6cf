#include "DialogImpl.h"

thread_local void* g_pCreatingDialog = nullptr;
