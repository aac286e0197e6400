// What the source files of unit HiButton share. Not part of the unit's
// interface: users include HiButton.h.
#pragma once
#include <windows.h>

#include "controls/HiButton.h"

// DrawText's horizontal flag for an alignment.
inline UINT HorizontalFormat(TNHAlignment a) {
    switch (a) {
    case haLeft: return DT_LEFT;
    case haRight: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

// A setter's compare-and-store: true when the value changed.
template <class V>
bool StoreIfChanged(V& field, V value) {
    if (field == value) return false;
    field = value;
    return true;
}

// A setter's copy into an owned object (fonts, pictures): nothing for
// nullptr, no copy onto itself; true when an object was given.
template <class T>
bool CopyInto(T& own, const T* given) {
    if (!given) return false;
    if (given != &own) own.Assign(*given);
    return true;
}
