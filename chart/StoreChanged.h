#pragma once
// Every chart property setter stores a value only when it really changes, and
// only then asks for a repaint; this is that comparison in one place.

template <class T> bool StoreChanged(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
