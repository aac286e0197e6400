// Live GDI objects of this process, for leak tests.
//
// GetGuiResources is a stub under Wine 8 (it answers 0), so the count comes
// from the process's GDI handle table: the PEB's GdiSharedHandleTable
// (offset 0xF8 on x64), 0x10000 entries of 24 bytes. An entry is live when
// its type byte is non-zero. Stock objects and a few objects cached by the
// system are live too, so compare counts after a warm-up run, not against 0.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace framework_test {

struct HandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(HandleEntry) == 24);

inline constexpr std::size_t kTableEntries = 0x10000;

// GCC sees the segment read in NtCurrentTeb as an access to a zero-sized array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
inline const HandleEntry* GdiHandleTable() {
#if defined(__x86_64__) || defined(_M_X64)
    auto* teb = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb());
    const std::uint8_t* peb = nullptr;
    std::memcpy(&peb, teb + 0x60, sizeof peb);  // TEB.ProcessEnvironmentBlock
    if (!peb) return nullptr;
    const HandleEntry* table = nullptr;
    std::memcpy(&table, peb + 0xF8, sizeof table);  // PEB.GdiSharedHandleTable
    return table;
#else
    return nullptr;
#endif
}
#pragma GCC diagnostic pop

// Number of live GDI objects, or -1 when the table cannot be found. On real
// Windows, where GetGuiResources works, that answer is used.
inline long LiveGdiObjects() {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n != 0) return long(n);
    const HandleEntry* table = GdiHandleTable();
    if (!table) return -1;
    long live = 0;
    for (std::size_t i = 0; i < kTableEntries; ++i)
        if (table[i].type != 0) ++live;
    return live;
}

}  // namespace framework_test
