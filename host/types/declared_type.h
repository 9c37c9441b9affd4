// A parameter or result type as a host's type library declares it, in the
// text form the probe's report writes and the simulated host reads back:
//
//   long  short  float  double  VARIANT_BOOL  BSTR  VARIANT  void  HRESULT
//   IDispatch*  IUnknown*  Sheet*           (Sheet: an interface the library declares)
//   double*  VARIANT*  SAFEARRAY(float)*    (by reference)
//   vt14                                    (any other automation type, by number)
//
// The numbers are the automation type numbers (VARENUM), so the COM side
// turns this into a TYPEDESC and back without a table of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tav::hosttypes {

// The automation type numbers this file names.
namespace vt {
inline constexpr std::uint16_t int16 = 2;
inline constexpr std::uint16_t int32 = 3;
inline constexpr std::uint16_t float32 = 4;
inline constexpr std::uint16_t float64 = 5;
inline constexpr std::uint16_t currency = 6;
inline constexpr std::uint16_t date = 7;
inline constexpr std::uint16_t text = 8;
inline constexpr std::uint16_t dispatch = 9;
inline constexpr std::uint16_t error = 10;
inline constexpr std::uint16_t boolean = 11;
inline constexpr std::uint16_t variant = 12;
inline constexpr std::uint16_t unknown = 13;
inline constexpr std::uint16_t decimal = 14;
inline constexpr std::uint16_t int8 = 16;
inline constexpr std::uint16_t uint8 = 17;
inline constexpr std::uint16_t uint16 = 18;
inline constexpr std::uint16_t uint32 = 19;
inline constexpr std::uint16_t int64 = 20;
inline constexpr std::uint16_t uint64 = 21;
inline constexpr std::uint16_t integer = 22;
inline constexpr std::uint16_t unsignedInteger = 23;
inline constexpr std::uint16_t none = 24;  // void
inline constexpr std::uint16_t hresult = 25;
inline constexpr std::uint16_t pointer = 26;
inline constexpr std::uint16_t safeArray = 27;
inline constexpr std::uint16_t userDefined = 29;
// Flags on a VARIANT's type, as a VARIANT that came back reports it.
inline constexpr std::uint16_t arrayFlag = 0x2000;
inline constexpr std::uint16_t byReferenceFlag = 0x4000;
}  // namespace vt

struct DeclaredType {
    // The type at the bottom: an automation type number, or userDefined with
    // `userName` naming the declared type (an interface, or an enumeration).
    std::uint16_t base = vt::variant;
    std::string userName;
    bool safeArray = false;  // SAFEARRAY(base)
    int pointers = 0;        // levels of "*" around it

    bool operator==(const DeclaredType&) const = default;

    bool byReference() const { return pointers > 0 && !isObject(); }
    // IDispatch*, IUnknown* or a declared interface by pointer: an object.
    bool isObject() const;
};

DeclaredType declaredBase(std::uint16_t base, int pointers = 0);
DeclaredType declaredInterface(std::string name);  // NAME*
DeclaredType declaredArray(std::uint16_t element, int pointers = 1);

std::string textOf(const DeclaredType& type);
// The text form back; nothing for text that is none.
std::optional<DeclaredType> parseDeclaredType(std::string_view text);

// A VARIANT's type as a probe saw it come back: "VT_I4", "VT_ARRAY|VT_R4",
// "VT_BYREF|VT_VARIANT"; and back (nothing for text that is none).
std::string variantTypeText(std::uint16_t variantType);
std::optional<std::uint16_t> parseVariantTypeText(std::string_view text);

}  // namespace tav::hosttypes
