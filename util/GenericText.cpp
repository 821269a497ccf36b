#include "util/Generic.h"

#include "platform/core/WinError.h"
#include "platform/files/CArchive.h"
#include "platform/process/FormatMessage.h"
#include "platform/process/MessageBeep.h"
#include "res/StringTable.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
// Comma groups of three digits, leading group without zeros; zero prints as 0.
CString GroupThousands(std::uint64_t magnitude)
{
    CString text;
    while (magnitude != 0) {
        const unsigned group = unsigned(magnitude % 1000);
        magnitude /= 1000;
        CString piece;
        piece.Format(magnitude != 0 ? "%03u," : "%u,", group);
        text = piece + text;
    }
    return text.IsEmpty() ? CString("0") : text.Left(text.GetLength() - 1);
}

// Fixed-point text with a full stop whatever the C locale says. No double has more than 1074
// decimals, nor more than 309 digits before the full stop.
CString Fixed(double value, int places)
{
    char text[1400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      std::clamp(places, 0, 1074));
    return CString(text, int(result.ptr - text));
}

// Rounds the significand right by shift bits, to nearest with ties to even.
std::uint64_t ShiftRounded(std::uint64_t significand, int shift)
{
    if (shift > 64)
        return 0;
    const std::uint64_t kept = shift == 64 ? 0 : significand >> shift;
    const std::uint64_t dropped = shift == 64 ? significand : significand & ((1ull << shift) - 1);
    const std::uint64_t half = 1ull << (shift - 1);
    return kept + (dropped > half || (dropped == half && (kept & 1)) ? 1 : 0);
}

double ExtendedToDouble(std::uint64_t significand, unsigned signAndExponent)
{
    constexpr std::uint64_t integerBit = 1ull << 63;
    constexpr std::uint64_t infinityBits = 0x7FF0000000000000ull;
    const std::uint64_t sign = std::uint64_t(signAndExponent & 0x8000) << 48;
    const int exponent = int(signAndExponent & 0x7FFF);
    // Zeros and denormals, and everything else below 2^-16382, are far under the double range.
    if (exponent == 0)
        return std::bit_cast<double>(sign);
    if (!(significand & integerBit))
        return std::numeric_limits<double>::quiet_NaN();
    if (exponent == 0x7FFF) {
        const std::uint64_t fraction = significand & ~integerBit;
        if (fraction == 0)
            return std::bit_cast<double>(sign | infinityBits);
        return std::bit_cast<double>(sign | infinityBits | (1ull << 51) | (fraction >> 11));
    }
    const int biased = exponent - 16383 + 1023;
    if (biased >= 2047)
        return std::bit_cast<double>(sign | infinityBits);
    if (biased < 1)
        return std::bit_cast<double>(sign | ShiftRounded(significand, 12 - biased));
    // A carry out of the rounded significand moves into the exponent, up to infinity.
    const std::uint64_t bits = (std::uint64_t(biased - 1) << 52) + ShiftRounded(significand, 11);
    return std::bit_cast<double>(sign | std::min(bits, infinityBits));
}
} // namespace

CString Generic::IntToCommas(int value)
{
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t(-std::int64_t(value)) : std::uint64_t(value);
    const CString digits = GroupThousands(magnitude);
    return value < 0 ? "-" + digits : digits;
}

CString Generic::DoubleToCommas(double value, int places)
{
    double rounded = RoundDouble(value, places);
    const bool negative = rounded < 0;
    if (negative)
        rounded = -rounded;
    double whole = 0;
    const double fraction = std::modf(rounded, &whole);
    // Too large (or not a number) to group: shown plain rather than wrapped around.
    if (!(whole < 18446744073709551616.0))
        return Fixed(negative ? -rounded : rounded, places);
    const CString fractionText = Fixed(fraction, places).Mid(1);
    const CString text = GroupThousands(std::uint64_t(whole)) + fractionText;
    return negative ? "-" + text : text;
}

int Generic::CommasToInt(const CString& text)
{
    const std::string digits = StripNonNumeric(text).Str();
    long long value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return digits.starts_with('-') ? INT_MIN : INT_MAX;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double Generic::CommasToDouble(const CString& text)
{
    const std::string digits = StripNonNumeric(text).Str();
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return digits.starts_with('-') ? -HUGE_VAL : HUGE_VAL;
    return value;
}

CString Generic::StripNonNumeric(const CString& text)
{
    static constexpr std::string_view numeric = "-.0123456789";
    std::string kept;
    for (const char c : text.Str()) {
        if (numeric.find(c) != std::string_view::npos)
            kept += c;
    }
    return CString(std::move(kept));
}

double Generic::RoundDouble(double value, int places)
{
    const double scale = std::pow(10.0, places);
    return std::floor(scale * (value + 5.0 / std::pow(10.0, places + 1))) / scale;
}

CString Generic::LoadString(UINT id)
{
    if (const char* text = FindResourceString(id))
        return CString(text);
    CString error;
    error.Format("%d::: Error loading string from string table!", int(id));
    MessageBeep(MB_ICONEXCLAMATION);
    return error;
}

CString Generic::GetErrorString()
{
    const DWORD code = GetLastError();
    if (code == ERROR_SUCCESS)
        return CString();
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer),
        0, nullptr);
    if (length == 0 || !buffer)
        return CString();
    const CString text(buffer, int(length));
    LocalFree(buffer);
    return text.Left(text.GetLength() - 2);
}

int Generic::GetJulianDayNumber(const CTime& time)
{
    const std::string day = time.Format("%j").Str();
    int number = 0;
    std::from_chars(day.data(), day.data() + day.size(), number);
    return number;
}

double Generic::Load80BitLongDoubleTo64BitDouble(CArchive& archive)
{
    unsigned char bytes[10] = {};
    // A number cut short by the end of the archive is no number.
    if (archive.Read(bytes, sizeof bytes) != sizeof bytes)
        return std::numeric_limits<double>::quiet_NaN();
    std::uint64_t significand = 0;
    std::memcpy(&significand, bytes, 8); // little-endian, as this platform
    return ExtendedToDouble(significand, unsigned(bytes[8]) | unsigned(bytes[9]) << 8);
}
