#include "host/types/declared_type.h"

#include <array>
#include <charconv>
#include <utility>

namespace tav::hosttypes {
namespace {

// Names as IDL writes them, and the short names of VARIANT types.
struct TypeName {
    std::uint16_t type;
    std::string_view declared;
    std::string_view variant;
};

constexpr std::array<TypeName, 24> typeNames{{
    {0, "EMPTY", "VT_EMPTY"},
    {1, "NULL", "VT_NULL"},
    {vt::int16, "short", "VT_I2"},
    {vt::int32, "long", "VT_I4"},
    {vt::float32, "float", "VT_R4"},
    {vt::float64, "double", "VT_R8"},
    {vt::currency, "CURRENCY", "VT_CY"},
    {vt::date, "DATE", "VT_DATE"},
    {vt::text, "BSTR", "VT_BSTR"},
    {vt::dispatch, "IDispatch", "VT_DISPATCH"},
    {vt::error, "SCODE", "VT_ERROR"},
    {vt::boolean, "VARIANT_BOOL", "VT_BOOL"},
    {vt::variant, "VARIANT", "VT_VARIANT"},
    {vt::unknown, "IUnknown", "VT_UNKNOWN"},
    {vt::decimal, "DECIMAL", "VT_DECIMAL"},
    {vt::int8, "char", "VT_I1"},
    {vt::uint8, "unsigned char", "VT_UI1"},
    {vt::uint16, "unsigned short", "VT_UI2"},
    {vt::uint32, "unsigned long", "VT_UI4"},
    {vt::int64, "int64", "VT_I8"},
    {vt::uint64, "uint64", "VT_UI8"},
    {vt::integer, "int", "VT_INT"},
    {vt::unsignedInteger, "unsigned int", "VT_UINT"},
    {vt::none, "void", "VT_VOID"},
}};

constexpr std::string_view hresultName = "HRESULT";
constexpr std::string_view numberedPrefix = "vt";

std::string baseText(const DeclaredType& type) {
    if (type.base == vt::userDefined) {
        return type.userName;
    }
    if (type.base == vt::hresult) {
        return std::string(hresultName);
    }
    for (const TypeName& name : typeNames) {
        if (name.type == type.base) {
            return std::string(name.declared);
        }
    }
    return std::string(numberedPrefix) + std::to_string(type.base);
}

bool isIdentifier(std::string_view text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) {
        return false;
    }
    for (char c : text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return true;
}

std::optional<DeclaredType> parseBase(std::string_view text) {
    DeclaredType type;
    if (text == hresultName) {
        type.base = vt::hresult;
        return type;
    }
    for (const TypeName& name : typeNames) {
        if (name.declared == text) {
            type.base = name.type;
            return type;
        }
    }
    if (text.size() > numberedPrefix.size() && text.starts_with(numberedPrefix)) {
        const std::string_view digits = text.substr(numberedPrefix.size());
        unsigned number = 0;
        const auto [end, problem] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (problem == std::errc() && end == digits.data() + digits.size() && number <= 0xFFF) {
            type.base = static_cast<std::uint16_t>(number);
            return type;
        }
    }
    if (isIdentifier(text)) {
        type.base = vt::userDefined;
        type.userName = std::string(text);
        return type;
    }
    return std::nullopt;
}

}  // namespace

bool DeclaredType::isObject() const {
    if (safeArray) {
        return false;
    }
    if (base == vt::dispatch || base == vt::unknown) {
        return pointers == 0;
    }
    return base == vt::userDefined && pointers == 1;
}

DeclaredType declaredBase(std::uint16_t base, int pointers) {
    DeclaredType type;
    type.base = base;
    type.pointers = pointers;
    return type;
}

DeclaredType declaredInterface(std::string name) {
    DeclaredType type;
    type.base = vt::userDefined;
    type.userName = std::move(name);
    type.pointers = 1;
    return type;
}

DeclaredType declaredArray(std::uint16_t element, int pointers) {
    DeclaredType type;
    type.base = element;
    type.safeArray = true;
    type.pointers = pointers;
    return type;
}

std::string textOf(const DeclaredType& type) {
    std::string text = baseText(type);
    // IDispatch and IUnknown are written as the pointers they are passed as.
    int pointers = type.pointers;
    if ((type.base == vt::dispatch || type.base == vt::unknown) && !type.safeArray) {
        ++pointers;
    }
    if (type.safeArray) {
        text = "SAFEARRAY(" + text + ")";
    }
    text.append(static_cast<std::size_t>(pointers), '*');
    return text;
}

std::optional<DeclaredType> parseDeclaredType(std::string_view text) {
    int pointers = 0;
    while (!text.empty() && text.back() == '*') {
        text.remove_suffix(1);
        ++pointers;
    }
    bool safeArray = false;
    constexpr std::string_view arrayOpen = "SAFEARRAY(";
    if (text.starts_with(arrayOpen) && text.ends_with(")")) {
        safeArray = true;
        text = text.substr(arrayOpen.size(), text.size() - arrayOpen.size() - 1);
    }
    std::optional<DeclaredType> type = parseBase(text);
    if (!type) {
        return std::nullopt;
    }
    type->safeArray = safeArray;
    type->pointers = pointers;
    if ((type->base == vt::dispatch || type->base == vt::unknown) && !safeArray) {
        if (pointers == 0) {
            return std::nullopt;  // always written with its pointer
        }
        type->pointers = pointers - 1;  // IDispatch* is VT_DISPATCH itself
    }
    return type;
}

std::string variantTypeText(std::uint16_t variantType) {
    std::string text;
    if ((variantType & vt::byReferenceFlag) != 0) {
        text += "VT_BYREF|";
    }
    if ((variantType & vt::arrayFlag) != 0) {
        text += "VT_ARRAY|";
    }
    const auto base = static_cast<std::uint16_t>(variantType & 0x0FFF);
    for (const TypeName& name : typeNames) {
        if (name.type == base) {
            return text + std::string(name.variant);
        }
    }
    return text + "VT_" + std::to_string(base);
}

std::optional<std::uint16_t> parseVariantTypeText(std::string_view text) {
    std::uint16_t flags = 0;
    for (auto [prefix, flag] :
         {std::pair<std::string_view, std::uint16_t>{"VT_BYREF|", vt::byReferenceFlag},
          {"VT_ARRAY|", vt::arrayFlag}}) {
        if (text.starts_with(prefix)) {
            flags |= flag;
            text.remove_prefix(prefix.size());
        }
    }
    for (const TypeName& name : typeNames) {
        if (name.variant == text) {
            return static_cast<std::uint16_t>(flags | name.type);
        }
    }
    if (text.starts_with("VT_")) {
        unsigned number = 0;
        const std::string_view digits = text.substr(3);
        const auto [end, problem] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (problem == std::errc() && end == digits.data() + digits.size() && number <= 0xFFF) {
            return static_cast<std::uint16_t>(flags | number);
        }
    }
    return std::nullopt;
}

}  // namespace tav::hosttypes
