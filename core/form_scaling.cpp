#include "core/form_scaling.h"

#include <climits>
#include <cstdint>

namespace rastel {

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = std::int64_t(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) product = -product, divisor = -divisor;
    const std::int64_t half = divisor / 2;
    const std::int64_t q = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (q > INT_MAX || q < -INT_MAX) return -1;
    return int(q);
}

TFormScaling ComputeFormScaling(int designPpi, int designTextHeight, int screenPpi, int fontHeight,
                                const std::function<int(int)>& textHeightOf) {
    TFormScaling s;
    s.fontHeight = fontHeight;
    s.textHeight = designTextHeight;
    if (designPpi <= 0 || designTextHeight <= 0 || screenPpi <= 0 || screenPpi == designPpi) return s;
    s.fromPpi = designPpi;
    s.toPpi = screenPpi;
    s.fontHeight = s.ScaleFont(fontHeight);
    s.textHeight = textHeightOf(s.fontHeight);
    if (s.textHeight > 0 && s.textHeight != designTextHeight) {
        s.scaled = true;
        s.multiplier = s.textHeight;
        s.divisor = designTextHeight;
    } else {
        s.textHeight = designTextHeight;
    }
    return s;
}

namespace {

struct Ratio {
    int num = 1, den = 1;
};

// What a scaling multiplies a value of the design by.
Ratio RatioOf(const TFormScaling& s, DesignValues::Unit unit) {
    if (unit == DesignValues::Unit::FontHeight)
        return s.fromPpi > 0 && s.toPpi > 0 && s.fromPpi != s.toPpi ? Ratio{s.toPpi, s.fromPpi} : Ratio{};
    return s.scaled ? Ratio{s.multiplier, s.divisor} : Ratio{};
}

}  // namespace

const DesignValues::Entry* DesignValues::Find(const void* key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return &e;
    return nullptr;
}

DesignValues::Entry* DesignValues::Find(const void* key) {
    return const_cast<Entry*>(static_cast<const DesignValues*>(this)->Find(key));
}

int DesignValues::At(const void* key, int current, const TFormScaling& to, Unit unit) const {
    const Entry* e = Find(key);
    const bool given = !e || current != e->made;
    const int basis = given ? current : e->basis;
    const Ratio from = RatioOf(given ? inForce_ : e->given, unit);
    const Ratio next = RatioOf(to, unit);
    // From the basis back to the design and on to `to`, rounded once.
    return MulDivRound(basis, from.den * next.num, from.num * next.den);
}

int DesignValues::Scale(const void* key, int current, const TFormScaling& to, Unit unit) {
    const int value = At(key, current, to, unit);
    Entry* e = Find(key);
    if (!e) {
        entries_.push_back(Entry{key, current, inForce_, value});
    } else {
        if (current != e->made) {
            e->basis = current;
            e->given = inForce_;
        }
        e->made = value;
    }
    return value;
}

void DesignValues::Made(const void* key, int value) {
    if (Entry* e = Find(key)) e->made = value;
}

void DesignValues::Set(const void* key, int value) {
    if (Entry* e = Find(key))
        *e = Entry{key, value, inForce_, value};
    else
        entries_.push_back(Entry{key, value, inForce_, value});
}

int DesignValues::Last(const void* key, int otherwise) const {
    const Entry* e = Find(key);
    return e ? e->made : otherwise;
}

}  // namespace rastel
