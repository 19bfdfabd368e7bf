#pragma once
// The library's only export: a new controller, owned by the host.
#include "module/DLLRPCtrller.h"

extern "C" __attribute__((visibility("default"))) qz::TDLLRPCtrller* GetController();
