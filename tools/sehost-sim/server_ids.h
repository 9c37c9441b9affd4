// The ids that are the server's own: the class it registers
// "SolidEdge.Application" under and its run-time type library. A
// registration carrying this class id is a leftover of an earlier server.
#pragma once

#include <windows.h>

namespace tav::sehost {

inline constexpr wchar_t progId[] = L"SolidEdge.Application";
inline constexpr wchar_t serverDescription[] = L"Tavrelmondix simulated Solid Edge (sehost-sim)";

// {A9B7BF5C-22E8-4248-89AA-2F901C7BDCFE}
inline constexpr CLSID serverClassId = {
    0xa9b7bf5c, 0x22e8, 0x4248, {0x89, 0xaa, 0x2f, 0x90, 0x1c, 0x7b, 0xdc, 0xfe}};
inline constexpr wchar_t serverClassIdText[] = L"{A9B7BF5C-22E8-4248-89AA-2F901C7BDCFE}";

// {AE3D29E5-F2BF-4AB1-9D50-58D063EAFF22}
inline constexpr GUID typeLibraryId = {
    0xae3d29e5, 0xf2bf, 0x4ab1, {0x9d, 0x50, 0x58, 0xd0, 0x63, 0xea, 0xff, 0x22}};

}  // namespace tav::sehost
