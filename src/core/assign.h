#pragma once

namespace cardora {

// Stores `value` in `field` when it differs; true when it changed, so that a
// property setter repaints or says the card changed only then.
template <class T, class V>
bool Assign(T& field, const V& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace cardora
