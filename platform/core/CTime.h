#pragma once
// The framework's point in time: seconds since 1970, shown in local time.
#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <ctime>

class CTime
{
public:
    CTime() = default;
    explicit CTime(std::time_t time) : m_time(time) {}
    // Local time fields; dst -1 lets the C runtime decide whether daylight saving applies.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    // A file's time stamp, taken as the local time it shows and made a time again with dst.
    explicit CTime(const FILETIME& fileTime, int dst = -1);

    static CTime GetCurrentTime() { return CTime(std::time(nullptr)); }
    std::time_t GetTime() const { return m_time; }

    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }

    // strftime codes, in local time.
    CString Format(const char* format) const;

    friend bool operator==(const CTime& a, const CTime& b) { return a.m_time == b.m_time; }

private:
    std::tm Local() const;

    std::time_t m_time = 0;
};
