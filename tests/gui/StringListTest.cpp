#include "gui/StringList.h"
#include "gui/Stream.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace gui;

namespace {
std::vector<std::string> Items(const TStrings& list) {
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i) r.push_back(list[i]);
    return r;
}
using V = std::vector<std::string>;
} // namespace

TEST(StringList, SortedListsKeepOrderAndFollowTheDuplicatesRule) {
    TStringList list;
    list.SetSorted(true);
    for (auto s : {"pear", "Apple", "banana", "apple"}) list.Add(s);
    // dupIgnore: "apple" is "Apple" when case does not count.
    EXPECT_EQ(Items(list), (V{"Apple", "banana", "pear"}));
    EXPECT_EQ(list.Add("APPLE"), 0);
    EXPECT_EQ(list.IndexOf("BANANA"), 1);
    EXPECT_EQ(list.IndexOf("cherry"), -1);
    int at = -1;
    EXPECT_FALSE(list.Find("cherry", at));
    EXPECT_EQ(at, 2);

    list.Duplicates = TDuplicates::dupError;
    EXPECT_THROW(list.Add("PEAR"), EStringListError);
    list.Duplicates = TDuplicates::dupAccept;
    list.Add("pear");
    EXPECT_EQ(list.Count(), 4);

    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "x"), EStringListError);

    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("apple"), -1);
    EXPECT_EQ(list.IndexOf("Apple"), 0);
}

TEST(StringList, SortingAnUnsortedListAndSearchingIt) {
    TStringList list;
    list.SetCommaText("b,C,a");
    EXPECT_EQ(list.IndexOf("c"), 1); // case-insensitive by default
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("c"), -1);
    list.SetCaseSensitive(false);
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (V{"a", "b", "C"}));

    // Custom order, longest first; equal lengths keep their order.
    TStringList words;
    words.SetCommaText("bb,a,ccc,dd");
    words.CustomSort([](TStringList* l, int i, int j) {
        return static_cast<int>(l->Strings(j).size()) - static_cast<int>(l->Strings(i).size());
    });
    EXPECT_EQ(Items(words), (V{"ccc", "bb", "dd", "a"}));
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreakAndJoinsWithCrLf) {
    struct Case {
        std::string text;
        V lines;
    } cases[] = {
        {"",                        {}                         },
        {"a",                       {"a"}                      },
        {"a\r\nb\r\n",              {"a", "b"}                 },
        {"a\nb\rc",                 {"a", "b", "c"}            },
        {"a\r\rb",                  {"a", "", "b"}             },
        {"\r\n",                    {""}                       },
        {"a\n\nb\n",                {"a", "", "b"}             },
        {"ab=128000<CRLF>ar=44100", {"ab=128000<CRLF>ar=44100"}},
    };
    for (auto& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Items(list), c.lines) << c.text;
    }
    TStringList list;
    list.SetText("x\ny");
    EXPECT_EQ(list.Text(), "x\r\ny\r\n");
    list.LineBreak = "\n";
    EXPECT_EQ(list.Text(), "x\ny\n");
}

TEST(StringList, CommaTextQuotesWhatNeedsItAndReadsBack) {
    struct Case {
        V items;
        std::string text;
    } writes[] = {
        {{},                       ""                  },
        {{""},                     "\"\""              },
        {{"a", "", "b"},           "a,,b"              },
        {{"a b", "c"},             "\"a b\",c"         },
        {{"say \"hi\""},           "\"say \"\"hi\"\"\""},
        {{"x,y"},                  "\"x,y\""           },
        {{"输出", "C:\\Tarvik"}, "输出,C:\\Tarvik" },
    };
    for (auto& c : writes) {
        TStringList list;
        for (auto& s : c.items) list.Add(s);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Items(back), c.items) << c.text;
    }
    struct Read {
        std::string text;
        V items;
    } reads[] = {
        {"a b,c",            {"a", "b", "c"}   }, // blanks outside quotes separate too
        {"  a , b ",         {"a", "b"}        },
        {"a,",               {"a", ""}         },
        {"\"unclosed, text", {"unclosed, text"}},
        {"\"a\"b",           {"a", "b"}        },
    };
    for (auto& c : reads) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text;
    }
    TStringList list;
    list.Delimiter = ';';
    list.QuoteChar = '\'';
    list.SetDelimitedText("a;'b;c';d e");
    EXPECT_EQ(Items(list), (V{"a", "b;c", "d", "e"}));
    EXPECT_EQ(list.DelimitedText(), "a;'b;c';d;e");
    EXPECT_EQ(list.CommaText(), "a,b;c,d,e");
}

TEST(StringList, NamesAndValuesSplitAtTheFirstEquals) {
    TStringList list;
    list.SetText("acodec=aac\nmetadata=title=abc\nplain\nAR=44100");
    EXPECT_EQ(list.Names(1), "metadata");
    EXPECT_EQ(list.ValueFromIndex(1), "title=abc");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.Values("ar"), "44100");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("ACODEC"), 0);

    list.SetValues("acodec", "mp2");
    EXPECT_EQ(list[0], "acodec=mp2");
    list.SetValues("ab", "128000");
    EXPECT_EQ(list[4], "ab=128000");
    list.SetValues("metadata", ""); // an empty value removes the line
    EXPECT_EQ(list.IndexOfName("metadata"), -1);
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, ChangeEventsFireOncePerBatch) {
    TStringList list;
    std::string log;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        log += "<";
    };
    list.OnChange = [&](TObject*) { log += ">"; };
    list.Add("a");
    EXPECT_EQ(log, "<>");
    log.clear();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.Delete(0);
    EXPECT_EQ(log, "<");
    list.EndUpdate();
    EXPECT_EQ(log, "<>");
    log.clear();
    list.SetText("x\ny\nz"); // one batch however many lines
    EXPECT_EQ(log, "<>");
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
    TObject a, b;
    TStringList list;
    list.AddObject("one", &a);
    list.AddObject("two", &b);
    list.Add("three");
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &b);
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (V{"one", "three", "two"}));
    EXPECT_EQ(list.Objects(2), &b);
    EXPECT_EQ(list.IndexOfObject(&a), 0);

    TStringList copy;
    copy.Add("old");
    copy.Assign(&list);
    EXPECT_TRUE(copy.Equals(list));
    EXPECT_EQ(copy.Objects(2), &b);

    try {
        list.Strings(3);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    TPersistent other;
    EXPECT_THROW(list.Assign(&other), std::runtime_error);
}

TEST(StringList, FilesAreUtf8AndTheByteOrderMarkIsSkipped) {
    TempDir dir;
    std::string name = dir / "list.txt";
    {
        std::ofstream f(name, std::ios::binary);
        f << "\xEF\xBB\xBF"
          << "视频\r\nsecond";
    }
    TStringList list;
    list.LoadFromFile(name);
    EXPECT_EQ(Items(list), (V{"视频", "second"}));
    list.Add("第三");
    list.SaveToFile(name);
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    EXPECT_EQ(ss.str(), "视频\r\nsecond\r\n第三\r\n");
    EXPECT_THROW(list.LoadFromFile(dir / "missing.txt"), EFOpenError);
}
