#include "os/Convert.h"

#include <clocale>
#include <gtest/gtest.h>

using namespace os;

TEST(Convert, FormatsInTheCLocaleUnderADecimalCommaLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not generated";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.2f", 1.5);
    EXPECT_STREQ(probe, "1,50"); // the locale really uses a comma
    EXPECT_EQ(FormatC("%.2f MB", 1.5), "1.50 MB");
    EXPECT_DOUBLE_EQ(StrToFloat("2.25"), 2.25);
    EXPECT_THROW(StrToFloat("2,25"), EConvertError);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Convert, IntegersAcceptDecimalAndHexAndRejectTheRest) {
    struct Case {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {
        {"0",                   true,  0        },
        {" 42 ",                true,  42       },
        {"-17",                 true,  -17      },
        {"$1F",                 true,  31       },
        {"0x10",                true,  16       },
        {"9223372036854775807", true,  INT64_MAX},
        {"",                    false, 0        },
        {"12a",                 false, 0        },
        {"9223372036854775808", false, 0        },
        {"1.5",                 false, 0        },
        {"-",                   false, 0        },
    };
    for (auto& c : cases) {
        int64_t v = 0;
        EXPECT_EQ(TryStrToInt64(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_THROW(StrToInt("3000000000"), EConvertError);
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    try {
        StrToFloat("x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
    }
}
