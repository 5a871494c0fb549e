#include "shell/ItemIdList.h"
#include "shell/ShellLocation.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace shell;

namespace {
struct Free {
    void operator()(LPITEMIDLIST l) const { ILFree(l); }
};
using Id = std::unique_ptr<ITEMIDLIST, Free>;

Id Path(std::initializer_list<const char*> names) {
    Id l(static_cast<LPITEMIDLIST>(SHAlloc(2)));
    for (const char* n : names) {
        Id one(MakeItemId(ItemKind::Entry, n));
        l.reset(ILCombine(l.get(), one.get()));
    }
    return l;
}
} // namespace

TEST(ItemIdList, SizesCountsAndCopies) {
    Id empty(static_cast<LPITEMIDLIST>(SHAlloc(2)));
    Id abc = Path({"A", "B", "C"});
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    EXPECT_EQ(ILGetSize(empty.get()), 2u);
    EXPECT_EQ(ILGetSize(abc.get()), 2u + 3 * 4); // size, kind and one letter each
    EXPECT_EQ(ILCount(abc.get()), 3u);
    EXPECT_TRUE(ILIsEmpty(nullptr));
    EXPECT_TRUE(ILIsEmpty(empty.get()));

    Id copy(ILCombine(nullptr, abc.get()));
    EXPECT_TRUE(ILIsEqual(copy.get(), abc.get()));
    Id joined(ILCombine(Path({"A"}).get(), Path({"B", "C"}).get()));
    EXPECT_TRUE(ILIsEqual(joined.get(), abc.get()));
    Id first(ILCloneFirst(abc.get()));
    EXPECT_TRUE(ILIsEqual(first.get(), Path({"A"}).get()));
    Id last(ILCloneFirst(ILFindLastID(abc.get())));
    EXPECT_TRUE(ILIsEqual(last.get(), Path({"C"}).get()));

    EXPECT_TRUE(ILRemoveLastID(copy.get()));
    EXPECT_TRUE(ILIsEqual(copy.get(), Path({"A", "B"}).get()));
    EXPECT_FALSE(ILRemoveLastID(empty.get()));
    EXPECT_FALSE(ILRemoveLastID(nullptr));
    EXPECT_EQ(ILGetSize(empty.get()), 2u);
}

TEST(ItemIdList, ForeignOrCraftedIdsLeadNowhere) {
    // Raw IDs: size, kind, name.  None may step out of its folder.
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"parent step",       std::string("\x05\x00"
                                    "F..",              5) },
        {"name with a slash", std::string("\x06\x00"
                                          "Fa/b", 6) },
        {"unknown kind",      std::string("\x04\x00"
                                     "Zx",             4) },
        {"entry on desktop",  std::string("\x04\x00"
                                         "Fx",     4) },
        {"relative volume",   std::string("\x05\x00"
                                        "Cx\x05\x00"
                                        "Vmn",      10)},
        {"size below header", std::string("\x02\x00"
                                          "Fx",   4) },
    };
    for (const Case& c : cases) {
        std::string raw = c.bytes + std::string("\0\0", 2);
        ShellLocation where;
        EXPECT_FALSE(ShellLocation::Resolve(reinterpret_cast<LPCITEMIDLIST>(raw.data()), where)) << c.what;
    }
}
