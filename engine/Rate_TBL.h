#pragma once
// A lottery table: integer weights on a scale of 65536. Weights summing to less
// than the scale leave one implicit outcome, index size(), for the rest.

#include <cstdint>
#include <type_traits>
#include <vector>

template <class T> class Rate_TBL : public std::vector<T> {
public:
    using std::vector<T>::vector;

    // Index of the outcome whose range holds r (0 .. 65535); size() when none does.
    int Select(int r) const {
        // Wide sum so that hostile weights cannot overflow the running total.
        using Sum = std::conditional_t<std::is_integral_v<T>, std::int64_t, T>;
        Sum cum = 0;
        const T* w = this->data();
        const int n = static_cast<int>(this->size());
        for (int i = 0; i < n; ++i) {
            const Sum next = cum + static_cast<Sum>(w[i]);
            if (cum <= r && r < next) {
                return i;
            }
            cum = next;
        }
        return n;
    }
};
