#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/StringMap.h"

namespace {

// Exposes the tree for shape checks.
class ShapeMap : public CStringMap<int> {
public:
    // Nodes on the longest path from the root.
    int Depth() const { return Depth(Root()); }

    // The single-character keys in BST shape: "5(2(1(0),3(,4)),8(7(6),9))".
    std::string Shape() const { return Shape(Root()); }

private:
    static int Depth(const Node* node) {
        if (!node)
            return 0;
        return 1 + std::max({Depth(node->lo.get()), Depth(node->eq.get()), Depth(node->hi.get())});
    }
    static std::string Shape(const Node* node) {
        if (!node)
            return "";
        std::string s(1, node->ch);
        if (node->lo || node->hi)
            s += "(" + Shape(node->lo.get()) + (node->hi ? "," + Shape(node->hi.get()) : "") + ")";
        return s;
    }
};

// A value type that counts its live objects, for the ownership tests.
struct Counted {
    static inline int live = 0;
    int n;
    explicit Counted(int v) : n(v) { ++live; }
    ~Counted() { --live; }
};

} // namespace

TEST(StringMap, FindsKeysWithoutRegardToCase) {
    CStringMap<int> map;
    int january = 1, jan = 2, june = 3;
    map.Insert("JANUARY", &january);
    map.Insert("Jan", &jan);
    map.Insert("june", &june);
    EXPECT_EQ(map.Find("january"), &january);
    EXPECT_EQ(map.Find("JaNuArY"), &january);
    EXPECT_EQ(map.Find("JAN"), &jan);
    EXPECT_EQ(map.Find("JUNE"), &june);
    EXPECT_EQ(map.Find("JA"), nullptr); // a prefix that ends no key
    EXPECT_EQ(map.Find("JANUARYX"), nullptr);
    EXPECT_EQ(map.Find("MAY"), nullptr);
    EXPECT_EQ(map.Find(""), nullptr);
    EXPECT_FALSE(map.Insert("", &june));
    EXPECT_EQ(map.GetCount(), 3u);

    int other = 4;
    map.Insert("jan", &other); // replaces, and counts
    EXPECT_EQ(map.Find("JAN"), &other);
    EXPECT_EQ(map.GetCount(), 4u);
}

TEST(StringMap, EndLoadPutsTheMiddleInFirst) {
    ShapeMap map;
    int values[10];
    map.BeginLoad();
    for (int i = 9; i >= 0; --i) { // pending entries are sorted on the way in
        std::string key(1, static_cast<char>('0' + i));
        map.Insert(key, &values[i]);
        EXPECT_EQ(map.Find(key), nullptr); // not in the tree before EndLoad
    }
    map.EndLoad();
    // Inserted 5, 2, 8, 1, 3, 7, 9, then 0, 4, 6.
    EXPECT_EQ(map.Shape(), "5(2(1(0),3(,4)),8(7(6),9))");
    EXPECT_EQ(map.GetCount(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(map.Find(std::string(1, static_cast<char>('0' + i))), &values[i]);
}

TEST(StringMap, SortedKeysStayShallowWhenBulkLoaded) {
    // 4096 two-character keys over 64 characters, in sorted order.
    std::vector<std::string> keys;
    for (char a = '0'; a < '0' + 64; ++a)
        for (char b = '0'; b < '0' + 64; ++b)
            keys.push_back(std::string{a, b});
    std::sort(keys.begin(), keys.end(),
              [](const std::string& x, const std::string& y) { return CompareNoCase(x, y) < 0; });
    int value = 0;
    ShapeMap bulk, direct;
    bulk.BeginLoad();
    for (const std::string& key : keys) {
        bulk.Insert(key, &value);
        direct.Insert(key, &value);
    }
    bulk.EndLoad();
    EXPECT_LE(bulk.Depth(), 20);
    EXPECT_GT(direct.Depth(), 60);
    for (const std::string& key : keys)
        ASSERT_EQ(bulk.Find(key), &value) << key;
}

TEST(StringMap, ForEachVisitsInKeyOrder) {
    CStringMap<std::string> map;
    std::vector<std::string> texts = {"delta", "Alpha", "charlie", "ALPHABET", "bravo", "b"};
    for (std::string& t : texts)
        map.Insert(t, &t);
    std::vector<std::string> seen;
    map.ForEach([&](std::string* t) { seen.push_back(*t); });
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Alpha", "ALPHABET", "b", "bravo", "charlie", "delta"}));
}

TEST(StringMap, RemoveAllKeepsValuesDeleteAllFreesThem) {
    Counted::live = 0;
    {
        CStringMap<Counted> map;
        Counted kept(1);
        map.Insert("kept", &kept);
        map.RemoveAll();
        EXPECT_EQ(map.Find("kept"), nullptr);
        EXPECT_EQ(map.GetCount(), 0u);
        EXPECT_EQ(Counted::live, 1);

        map.Insert("a", new Counted(2));
        map.BeginLoad();
        map.Insert("b", new Counted(3)); // still pending
        map.DeleteAll();
        EXPECT_EQ(Counted::live, 1);
        map.EndLoad();
        EXPECT_EQ(map.Find("b"), nullptr);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(StringMap, OwningDictionaryFreesReplacedAndRemainingValues) {
    Counted::live = 0;
    {
        CStringDictionary<Counted> fonts;
        fonts.Insert("gfx\\fonts\\a.bmp", new Counted(1));
        fonts.Insert("GFX\\FONTS\\A.BMP", new Counted(2)); // the first is freed
        EXPECT_EQ(Counted::live, 1);
        EXPECT_EQ(fonts.Get("gfx\\fonts\\A.bmp")->n, 2);
        fonts.BeginLoad();
        fonts.Insert("b", new Counted(3));
        fonts.Insert("b", new Counted(4));
        fonts.EndLoad(); // inserts the second entry first: the first one wins
        EXPECT_EQ(Counted::live, 2);
        EXPECT_EQ(fonts.Get("B")->n, 3);
        fonts.BeginLoad();
        fonts.Insert("c", new Counted(5));
        fonts.RemoveAll(); // an owning map frees on emptying, pending too
        EXPECT_EQ(Counted::live, 0);
        fonts.EndLoad();
        fonts.Insert("d", new Counted(6));
    }
    EXPECT_EQ(Counted::live, 0);
}

// A long key is a chain of eq links as long as itself; freeing it must not
// recurse.
TEST(StringMap, DeepTreeIsFreedWithoutRecursion) {
    auto map = std::make_unique<CStringTrie<int>>();
    int value = 0;
    std::string key(300000, 'x');
    map->Insert(key, &value);
    EXPECT_EQ(map->Get(key), &value);
    EXPECT_EQ(map->Get(key.substr(1)), nullptr);
    map.reset();
}

namespace {
// A deleter that only counts, as a reference-dropping one would.
struct CountRelease {
    static inline int released = 0;
    void operator()(int*) const { ++released; }
};
} // namespace

TEST(StringMap, OwningMapUsesItsDeleter) {
    CountRelease::released = 0;
    int a = 1, b = 2, c = 3;
    {
        CStringTrie<int, CountRelease> names;
        names.Insert("x", &a);
        names.Insert("x", &a); // the same value again: nothing released
        names.Insert("X", &b);
        EXPECT_EQ(CountRelease::released, 1);
        names.Insert("y", &c);
    }
    EXPECT_EQ(CountRelease::released, 3);
}
