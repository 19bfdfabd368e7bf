#pragma once
// Variants as JSON, in one fixed form: Empty {"empty":true}, Null null, Booleans, numbers, strings in
// UTF-8 (8-bit strings read in the given code page; control characters as \u0004), dates
// {"date":"YYYY-MM-DDThh:nn:ss.zzz"}, one-dimensional arrays {"lo":L,"items":[...]} and
// two-dimensional ones {"lo":[L1,L2],"items":[[row],...]}.
#include "platform/variant/Variant.h"

namespace qz {

AnsiString VariantToJson(const Variant& value, int codePage);

} // namespace qz
