#include "app/RowTexts.h"

#include <cmath>
#include <cstdio>

namespace app {

std::string SecToDate(int64_t sec) {
    int64_t s = sec % 60;
    int64_t m = (sec - s) / 60 % 60;
    int64_t h = (sec - s - 60 * m) / 3600 % 24;
    char text[32];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld", static_cast<long long>(h),
                  static_cast<long long>(m), static_cast<long long>(s));
    return text;
}

std::string MegabyteText(int64_t bytes) {
    // nearbyint follows the default rounding mode, which rounds halves to even.
    double hundredths = std::nearbyint(static_cast<double>(bytes) / 1024.0 / 1024.0 * 100.0);
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", hundredths / 100.0);
    return std::string(text) + "MB";
}

std::string ProgressText(int64_t current, int64_t total) {
    if (total <= 0) return "N/A";
    return std::to_string(current * 100 / total) + "%";
}

} // namespace app
