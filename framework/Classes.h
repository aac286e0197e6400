// Framework exceptions, small value sets and the string list.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Persistent.h"

// Every error the framework raises derives from this; what() is the text the
// application's error box shows (UTF-8).
class EFrameworkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Assign's refusal of a source of another class, naming both.
[[noreturn]] inline void AssignError(const TPersistent& source, const char* target) {
    throw EFrameworkError("cannot assign a " + source.ClassName() + " to a " + target);
}

// The source of an Assign as the target's own class T, or AssignError.
template <class T>
const T* AssignSource(const TPersistent& source, const char* target) {
    if (const auto* s = dynamic_cast<const T*>(&source)) return s;
    AssignError(source, target);
}
// A file could not be opened: "ファイル "<full path>". <system text> は開けません".
class EFOpenError : public EFrameworkError {
public:
    using EFrameworkError::EFrameworkError;
};
// Malformed form description (text names the line and the property).
class EReadError : public EFrameworkError {
public:
    using EFrameworkError::EFrameworkError;
};
// Bad list index and similar programming errors.
class EListError : public EFrameworkError {
public:
    using EFrameworkError::EFrameworkError;
};

// A set of enumeration values (at most 32), bit n for ordinal n.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values) Include(v);
    }
    static constexpr TSet FromBits(std::uint32_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Contains(E v) const { return (bits_ >> unsigned(v)) & 1u; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E v) {
        bits_ |= 1u << unsigned(v);
        return *this;
    }
    constexpr TSet& Exclude(E v) {
        bits_ &= ~(1u << unsigned(v));
        return *this;
    }
    constexpr TSet operator|(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator&(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator+(E v) const { return TSet(*this).Include(v); }
    constexpr TSet operator-(E v) const { return TSet(*this).Exclude(v); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    std::uint32_t bits_ = 0;
};

// Mouse buttons and modifier keys held during a mouse or key event.
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// Lines of text. Text() joins them with CR LF between lines and none after
// the last. OnChange (optional) fires after every change made through the
// list's own operations, once per operation.
class TStringList : public TPersistent {
    RASTEL_CLASS_INFO
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : lines_(lines) {}
    // Copies the lines only; the copy has no OnChange handler.
    TStringList(const TStringList& other) : TPersistent(), lines_(other.lines_) {}
    TStringList& operator=(const TStringList& other);

    int Count() const { return int(lines_.size()); }
    bool Empty() const { return lines_.empty(); }
    // Index checked: EListError when out of range.
    const std::string& operator[](int index) const;
    const std::string& Strings(int index) const { return (*this)[index]; }
    void Put(int index, std::string line);
    const std::vector<std::string>& Lines() const { return lines_; }

    int Add(std::string line);  // returns the new line's index
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::string& line) const;  // -1 when absent

    std::string Text() const;
    // Splits at CR LF, LF or CR; a trailing line break adds no empty line.
    void SetText(const std::string& text);
    void SetLines(std::vector<std::string> lines);

    // Copies the lines of another TStringList (OnChange once).
    void Assign(const TPersistent& source) override;

    friend bool operator==(const TStringList& a, const TStringList& b) { return a.lines_ == b.lines_; }

    TNotifyEvent OnChange;

private:
    void Changed();
    std::vector<std::string> lines_;
};
