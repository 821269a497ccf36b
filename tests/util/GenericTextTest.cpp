#include "util/Generic.h"

#include "platform/core/WinError.h"
#include "platform/files/CArchive.h"
#include "platform/framework/AfxRes.h"
#include "platform/process/MessageBeep.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using namespace testfiles;

TEST(GenericText, IntToCommas)
{
    const struct {
        int value;
        const char* text;
    } cases[] = {{999, "999"},
                 {1000, "1,000"},
                 {-1000000, "-1,000,000"},
                 {-45, "-45"},
                 {1002003, "1,002,003"},
                 {0, "0"},
                 {100000, "100,000"},
                 {INT_MAX, "2,147,483,647"},
                 {INT_MIN, "-2,147,483,648"}};
    for (const auto& c : cases)
        EXPECT_EQ(Generic::IntToCommas(c.value), c.text) << c.value;
}

TEST(GenericText, DoubleToCommasAndRounding)
{
    const struct {
        double value;
        int places;
        const char* text;
    } cases[] = {
        {1234567.891, 2, "1,234,567.89"},
        {-1234.5, 1, "-1,234.5"},
        {12.345, 0, "12"},
        {0.999, 2, "1.00"},
        {-0.004, 2, "0.00"},
        {0.5, 2, "0.50"},
        {1000.25, 2, "1,000.25"},
        {1234.5, -2, "1,200"},
        {5e9, 1, "5,000,000,000.0"},
        {-2.5, 0, "-2"},
        {1e20, 0, "100000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Generic::DoubleToCommas(c.value, c.places), c.text) << c.value << " " << c.places;

    const struct {
        double value;
        int places;
        double result;
    } rounds[] = {
        {2.345, 2, 2.35}, {-2.5, 0, -2.0},  {1.005, 2, 1.0}, {1234.5678, -2, 1200.0},
        {2.5, 0, 3.0},    {-2.51, 0, -3.0}, {0.0, 3, 0.0},   {1234.5678, 1, 1234.6},
    };
    for (const auto& r : rounds)
        EXPECT_DOUBLE_EQ(Generic::RoundDouble(r.value, r.places), r.result)
            << r.value << " " << r.places;
}

TEST(GenericText, ReadingNumbersBack)
{
    const struct {
        const char* text;
        const char* stripped;
        int integer;
        double real;
    } cases[] = {
        {"1,234,567", "1234567", 1234567, 1234567.0},
        {"$ 12.50", "12.50", 12, 12.5},
        {"1.5e3", "1.53", 1, 1.53},
        {"1-2-3", "1-2-3", 1, 1.0},
        {"", "", 0, 0.0},
        {"abc", "", 0, 0.0},
        {"+7", "7", 7, 7.0},
        {"-,5", "-5", -5, -5.0},
        {"- 1", "-1", -1, -1.0},
        {".", ".", 0, 0.0},
        {"99,999,999,999", "99999999999", INT_MAX, 99999999999.0},
        {"-99999999999", "-99999999999", INT_MIN, -99999999999.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Generic::StripNonNumeric(c.text), c.stripped) << c.text;
        EXPECT_EQ(Generic::CommasToInt(c.text), c.integer) << c.text;
        EXPECT_DOUBLE_EQ(Generic::CommasToDouble(c.text), c.real) << c.text;
    }
}

TEST(GenericText, LoadStringAndErrorString)
{
    EXPECT_EQ(Generic::LoadString(AFX_IDS_APP_TITLE), "Reelmix");
    const int beeps = MessageBeepCount();
    EXPECT_EQ(Generic::LoadString(57), "57::: Error loading string from string table!");
    EXPECT_EQ(MessageBeepCount(), beeps + 1);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(Generic::GetErrorString(), "");
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Generic::GetErrorString(), "The system cannot find the file specified.");
    SetLastError(99999);
    EXPECT_EQ(Generic::GetErrorString(), "");
}

TEST(GenericText, JulianDayNumberIsTheDayOfTheYear)
{
    const struct {
        int year, month, day, number;
    } cases[] = {{2023, 1, 1, 1}, {2023, 12, 31, 365}, {2024, 12, 31, 366}, {2024, 3, 1, 61}};
    for (const auto& c : cases)
        EXPECT_EQ(Generic::GetJulianDayNumber(CTime(c.year, c.month, c.day, 12, 0, 0)), c.number)
            << c.year;
}

namespace
{
double Load(const std::string& bytes)
{
    const std::string path = NewPath("extended.bin");
    WriteBytes(path, bytes);
    CFile file(Program(path), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    return Generic::Load80BitLongDoubleTo64BitDouble(ar);
}

std::string Extended(std::uint64_t significand, unsigned signAndExponent)
{
    std::string bytes(10, '\0');
    std::memcpy(bytes.data(), &significand, 8);
    bytes[8] = char(signAndExponent & 0xFF);
    bytes[9] = char(signAndExponent >> 8);
    return bytes;
}

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
} // namespace

TEST(GenericText, ExtendedPrecisionConversion)
{
    constexpr std::uint64_t one = 1ull << 63;
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::uint64_t significand;
        unsigned exponent;
        double result;
    } cases[] = {
        {one, 0x3FFF, 1.0},
        {0xA000000000000000ull, 0xC000, -2.5},
        {0xC90FDAA22168C235ull, 0x4000, 3.14159265358979311600}, // pi, rounded to the double
        {0xFFFFFFFFFFFFFFFFull, 0x3FFF, 2.0},                    // rounds up into the exponent
        {0x8000000000000400ull, 0x3FFF, 1.0},                    // tie goes to even
        {0x8000000000000C00ull, 0x3FFF, 1.0 + 2 * DBL_EPSILON},  // tie goes to even, upwards
        {0xFFFFFFFFFFFFF800ull, 0x3FFF + 1023, DBL_MAX},
        {0xFFFFFFFFFFFFFC00ull, 0x3FFF + 1023, inf}, // rounds beyond the range
        {one, 0x3FFF + 1024, inf},
        {one, 0xBFFF + 1024, -inf},
        {one, 0x7FFF, inf},
        {one, 0xFFFF, -inf},
        {one, 0x3FFF - 1022, DBL_MIN},
        {one, 0x3FFF - 1074, std::ldexp(1.0, -1074)}, // smallest denormal
        {0xC000000000000000ull, 0x3FFF - 1075, std::ldexp(1.0, -1074)},
        {one, 0x3FFF - 1075, 0.0}, // half the smallest: to even
        {one, 0x3FFF - 1030, std::ldexp(1.0, -1030)},
        {0xFFFFFFFFFFFFFFFFull, 0x3FFF - 1023, DBL_MIN}, // a denormal rounding to normal
        {one, 0x0001, 0.0},
        {0, 0x0000, 0.0},
        {0, 0x8000, -0.0},
        {0x0000000000000001ull, 0x0000, 0.0}, // x87 denormal
        {one | 5, 0x8000, -0.0},              // pseudo-denormal
    };
    for (const auto& c : cases) {
        const double value = Load(Extended(c.significand, c.exponent));
        EXPECT_TRUE(SameBits(value, c.result)) << std::hex << c.significand << " " << c.exponent
                                               << ": " << value << " vs " << c.result;
    }
    // Unsupported encodings (integer bit clear), NaNs, and a number cut short.
    for (const std::string& bytes :
         {Extended(0x4000000000000000ull, 0x3FFF), Extended(0, 0x7FFF),
          Extended(0x4000000000000000ull, 0x7FFF), Extended(0xC000000000000000ull, 0xFFFF),
          Extended(0x8000000000000001ull, 0x7FFF), Hex("00 00 00 80 FF 3F")}) {
        const double value = Load(bytes);
        EXPECT_TRUE(std::isnan(value));
        EXPECT_TRUE(std::bit_cast<std::uint64_t>(value) & (1ull << 51)) << "quiet";
    }
    EXPECT_TRUE(std::signbit(Load(Extended(0xC000000000000000ull, 0xFFFF))));
}

TEST(GenericText, ExtendedPrecisionMatchesTheHardware)
{
    if (LDBL_MANT_DIG != 64)
        GTEST_SKIP() << "long double is not the x87 format here";
    // Exponents around the double range, where rounding, denormals and overflow happen.
    std::mt19937_64 random(7);
    std::string bytes;
    std::vector<double> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t significand = random() | (1ull << 63);
        const unsigned exponent =
            unsigned(0x3FFF - 1100 + int(random() % 2200)) | (i % 2 ? 0x8000 : 0);
        const std::string number = Extended(significand, exponent);
        long double reference = 0;
        std::memcpy(&reference, number.data(), 10);
        bytes += number;
        expected.push_back(double(reference));
    }
    const std::string path = NewPath("many.bin");
    WriteBytes(path, bytes);
    CFile file(Program(path), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_TRUE(SameBits(Generic::Load80BitLongDoubleTo64BitDouble(ar), expected[i])) << i;
}
