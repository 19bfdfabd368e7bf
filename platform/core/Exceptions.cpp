#include "platform/core/Exceptions.h"

namespace qz {

TObject::~TObject() = default;
const TMetaClass* TObject::ClassInfo() const {
    return nullptr;
}

void Abort() {
    throw EAbort();
}

} // namespace qz
