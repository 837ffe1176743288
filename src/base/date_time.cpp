#include "base/date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "base/error.h"

namespace vantel {

namespace {
constexpr double Unix_epoch_days = 25569.0;  // 1970-01-01 in days since 1899-12-30
}

Date_time local_now()
{
    // Training reads the clock once per image, so the offset of the local
    // time zone is looked up only when the minute changes.
    thread_local time_t offset_valid_until = 0;
    thread_local long offset_seconds = 0;
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const time_t seconds = ts.tv_sec;
    if (seconds >= offset_valid_until) {
        tm local{};
        localtime_r(&seconds, &local);
        offset_seconds = local.tm_gmtoff;
        offset_valid_until = seconds - seconds % 60 + 60;
    }
    const long double local_seconds =
        static_cast<long double>(seconds) + offset_seconds + ts.tv_nsec / 1e9L;
    return static_cast<double>(local_seconds / 86400.0L + Unix_epoch_days);
}

double parse_time_of_day(const std::string& text)
{
    int h = 0, m = 0, s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &h, &m, &s, &tail) != 3 || h < 0 || h > 23 ||
        m < 0 || m > 59 || s < 0 || s > 59)
        throw Vantel_error("'" + text + "' is not a valid time");
    return (h * 3600 + m * 60 + s) / 86400.0;
}

double one_second_units()
{
    return parse_time_of_day("15:03:45") - parse_time_of_day("15:03:44");
}

std::int64_t elapsed_seconds(Date_time now, Date_time start, double one_second)
{
    if (one_second == 0) return 0;  // before start-up has set One_second
    const long double e = (static_cast<long double>(now) - start) / one_second;
    return static_cast<std::int64_t>(std::nearbyintl(e));  // ties to even
}

std::string time_label(Date_time now, Date_time start, double one_second)
{
    return "Time passed [s]=" + std::to_string(elapsed_seconds(now, start, one_second));
}

std::string format_file_stamp(Date_time when)
{
    // Split into whole days and milliseconds of the day, as the clock shows it.
    const long double days = std::floor(static_cast<long double>(when));
    long long ms = std::llround((when - days) * 86400000.0L);
    long long day = static_cast<long long>(days);
    if (ms >= 86400000) { ms -= 86400000; ++day; }
    const time_t t = static_cast<time_t>((day - 25569) * 86400 + ms / 1000);
    tm parts{};
    gmtime_r(&t, &parts);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d-%02d-%04d-%02d%02d%02d", parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_year + 1900, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return buffer;
}

}  // namespace vantel
