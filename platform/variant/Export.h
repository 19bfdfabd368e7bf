#pragma once
// What a shared object exports to serve automation classes to CreateOleObject:
//   QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId);
// It returns a new object for the ProgID (one reference for the caller, or none yet), or nullptr for a
// ProgID it does not serve.
#define QZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace qz {

class IDispatchObject;
using TQzCreateObject = IDispatchObject* (*)(const char* progId);
inline constexpr const char* QzCreateObjectName = "QzCreateObject";

} // namespace qz
