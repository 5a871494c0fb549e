#include "media/ComponentUtils.h"

#include <cmath>
#include <ctime>
#include <mutex>

#include "os/Convert.h"
#include "os/MainThread.h"

namespace media {

int64_t FileSizeByName(const std::string& fileName) {
    return os::FileSize(fileName);
}

void SplitFirst(std::string& text, const std::string& separator, bool removeHead, std::string& head) {
    size_t p = separator.empty() ? std::string::npos : text.find(separator);
    if (p == std::string::npos) {
        head = text;
        if (removeHead) text.clear();
        return;
    }
    head = text.substr(0, p);
    if (removeHead) text.erase(0, p + separator.size());
}

std::string SizeToText(int64_t bytes) {
    constexpr int64_t KB = 1024, MB = 1048576, GB = 1073741824;
    if (bytes > GB) return os::FormatC("%.2f GB", static_cast<double>(bytes) / GB);
    if (bytes > MB) return os::FormatC("%.2f MB", static_cast<double>(bytes) / MB);
    if (bytes > KB) return os::FormatC("%.2f KB", static_cast<double>(bytes) / KB);
    return os::FormatC("%lld Byte", static_cast<long long>(bytes));
}

TDateTime UnixToDateTime(int64_t seconds) {
    ::tzset();
    // timezone: seconds west of UTC in standard time, i.e. the bias without
    // the daylight-saving part.
    double biasMinutes = static_cast<double>(::timezone) / 60.0;
    return static_cast<double>(seconds) / 86400.0 + 25569.0 - biasMinutes / 1440.0;
}

namespace {

struct TDateParts {
    int year, month, day, hour, minute, second, msec;
};

TDateParts DecodeDateTime(TDateTime value) {
    // Round to the millisecond first, so 23:59:59.9999 becomes the next day.
    int64_t ms = std::llround(value * 86400000.0);
    int64_t days = ms / 86400000;
    int64_t rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    int64_t z = days - 25569 + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    TDateParts p{};
    p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2 ? 1 : 0));
    p.hour = static_cast<int>(rest / 3600000);
    p.minute = static_cast<int>(rest / 60000 % 60);
    p.second = static_cast<int>(rest / 1000 % 60);
    p.msec = static_cast<int>(rest % 1000);
    return p;
}

size_t RunLength(const std::string& s, size_t i) {
    size_t n = 1;
    while (i + n < s.size() && (s[i + n] | 0x20) == (s[i] | 0x20)) ++n;
    return n;
}

std::string Number(int v, size_t digits) {
    return os::FormatC("%0*d", static_cast<int>(digits), v);
}

} // namespace

std::string DateTimeText(const std::string& format, TDateTime value) {
    TDateParts p = DecodeDateTime(value);
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        char c = format[i];
        char lc = static_cast<char>(c | 0x20);
        if (c == '"' || c == '\'') {
            size_t end = format.find(c, i + 1);
            if (end == std::string::npos) end = format.size();
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t n = (lc >= 'a' && lc <= 'z') ? RunLength(format, i) : 1;
        // One or two letters give one or two digits (three for milliseconds).
        auto field = [&](int value, size_t wide) { out += Number(value, n >= wide ? wide : 1); };
        switch (lc) {
        case 'y':
            out += n <= 2 ? Number(p.year % 100, 2) : Number(p.year, 4);
            break;
        case 'm':
            field(afterHour ? p.minute : p.month, 2);
            break;
        case 'd':
            field(p.day, 2);
            break;
        case 'h':
            field(p.hour, 2);
            break;
        case 'n':
            field(p.minute, 2);
            break;
        case 's':
            field(p.second, 2);
            break;
        case 'z':
            field(p.msec, 3);
            break;
        default:
            out.append(format, i, n);
            break;
        }
        if (lc >= 'a' && lc <= 'z') afterHour = lc == 'h';
        i += n;
    }
    return out;
}

namespace {

std::mutex g_pumpLock;
std::function<bool()> g_pumpOne;

} // namespace

bool ProcessOneMessage() {
    std::function<bool()> pump;
    {
        std::lock_guard<std::mutex> g(g_pumpLock);
        pump = g_pumpOne;
    }
    if (pump) return pump();
    return os::IsMainThread() && os::CheckSynchronize(0);
}

void ProcessMessages() {
    while (ProcessOneMessage()) {
    }
}

void SetMessagePump(std::function<bool()> pumpOne) {
    std::lock_guard<std::mutex> g(g_pumpLock);
    g_pumpOne = std::move(pumpOne);
}

void CallInMainThread(const std::function<void()>& call) {
    os::CallInMainThread(call);
}

} // namespace media
