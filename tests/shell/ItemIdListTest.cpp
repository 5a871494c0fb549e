#include "shell/ItemIdList.h"
#include "shell/ShellLocation.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

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
    // IDs as raw bytes: size, kind, name.  None may step out of its folder.
    struct Case {
        const char* what;
        std::vector<std::pair<char, std::string>> ids;
    } cases[] = {
        {"parent step",             {{'F', ".."}}           },
        {"name with a slash",       {{'F', "a/b"}}          },
        {"unknown kind",            {{'Z', "x"}}            },
        {"entry on the desktop",    {{'F', "x"}}            },
        {"relative volume",         {{'C', ""}, {'V', "mn"}}},
        {"volume outside Computer", {{'V', "/mnt"}}         },
        {"home inside home",        {{'H', ""}, {'H', ""}}  },
    };
    for (const Case& c : cases) {
        std::string raw;
        for (const auto& [kind, name] : c.ids) {
            size_t cb = 3 + name.size();
            raw += {static_cast<char>(cb & 0xFF), static_cast<char>(cb >> 8), kind};
            raw += name;
        }
        raw += std::string(2, '\0');
        ShellLocation where;
        EXPECT_FALSE(ShellLocation::Resolve(reinterpret_cast<LPCITEMIDLIST>(raw.data()), where)) << c.what;
    }
    // A size too small to hold a kind is no ID either.
    const char tooSmall[] = {2, 0, 'F', 'x', 0, 0};
    ShellLocation where;
    EXPECT_FALSE(ShellLocation::Resolve(reinterpret_cast<LPCITEMIDLIST>(tooSmall), where));
}
