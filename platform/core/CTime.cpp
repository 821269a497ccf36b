#include "platform/core/CTime.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst;
    m_time = std::mktime(&fields);
}

CTime::CTime(const FILETIME& fileTime, int dst)
{
    constexpr std::uint64_t secondsFrom1601To1970 = 11644473600ull;
    const std::uint64_t ticks =
        (std::uint64_t(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    const auto utc =
        std::time_t(std::int64_t(ticks / 10000000ull) - std::int64_t(secondsFrom1601To1970));
    std::tm fields{};
    localtime_r(&utc, &fields);
    fields.tm_isdst = dst;
    m_time = std::mktime(&fields);
}

std::tm CTime::Local() const
{
    std::tm fields{};
    localtime_r(&m_time, &fields);
    return fields;
}

CString CTime::Format(const char* format) const
{
    const std::tm fields = Local();
    char text[512];
    const std::size_t n = std::strftime(text, sizeof text, format, &fields);
    return CString(text, int(n));
}
