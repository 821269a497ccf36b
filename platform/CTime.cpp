#include "platform/CTime.h"

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
