// Published properties that form descriptions written by the platform's designer carry and
// Kestrin's classes have no use for (PixelsPerInch, OldCreateOrder, a list's ItemHeight ...):
// a component keeps the value read or set for each and writes it back, and only then.
#pragma once

#include <string>

#include "platform/classes/persistent.h"

namespace kgui {

class TComponent;

// A property of `kind` whose value the component keeps; an enumeration or set names its
// type, an integer may have identifiers. Unset, it reads as `unset` and is not written.
PropertyInfo keptProp(std::string name, PropKind kind, const EnumInfo* type = nullptr,
                      const IdentMap* idents = nullptr, PropValue unset = PropValue(int64_t{0}));

// A property that acts through its own reader and writer but is written only once it was
// read from a description or set (a designer's setting whose default Kestrin leaves unsaid).
PropertyInfo writtenOnceSet(PropertyInfo p);

// Drops what the component kept; its destructor calls it.
void forgetKeptValues(const TComponent& c);

}  // namespace kgui
