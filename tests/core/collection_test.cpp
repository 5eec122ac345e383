// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/collection.h"

namespace vocatrix {
namespace {

struct Number {
  int value;
};

class NumberCollection : public TSortedCollection<Number> {
 public:
  explicit NumberCollection(bool duplicates) { Duplicates = duplicates; }
  int Compare(const Number& a, const Number& b) const override { return a.value - b.value; }
};

std::shared_ptr<Number> N(int v) { return std::make_shared<Number>(Number{v}); }

TEST(Collection, IndexErrorsLeaveTheCollectionUnchanged) {
  TCollection<Number> c;
  EXPECT_THROW(c.At(0), EListError);
  c.AtInsert(0, N(1));
  EXPECT_EQ(c.Count(), 1);
  EXPECT_THROW(c.AtInsert(2, N(2)), EListError);
  EXPECT_THROW(c.AtDelete(1), EListError);
  EXPECT_THROW(c.At(-1), EListError);
  EXPECT_EQ(c.Count(), 1);
  try {
    c.At(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Listenindex außerhalb des zulässigen Bereichs");
  }
}

TEST(Collection, DeleteOfAForeignObjectRaises) {
  TCollection<Number> c;
  auto a = N(1);
  c.Insert(a);
  const auto other = N(1);
  EXPECT_THROW(c.Delete(other.get()), EListError);
  c.Delete(a.get());
  EXPECT_EQ(c.Count(), 0);
}

TEST(Collection, FreeAllKeepsItemsAliveForOtherHolders) {
  TCollection<Number> c;
  auto a = N(7);
  c.Insert(a);
  c.Insert(N(8));
  c.FreeAll();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(a->value, 7);
  EXPECT_EQ(a.use_count(), 1);
}

TEST(Collection, FirstThatCallsTheTestOncePerItem) {
  TCollection<Number> c;
  for (int i = 0; i < 4; ++i) c.Insert(N(i));
  int calls = 0;
  auto found = c.xFirstThat([&](const auto&) {
    ++calls;
    return false;
  });
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(c.xFirstThat([](const auto& n) { return n->value == 2; })->value, 2);
}

TEST(SortedCollection, WithoutDuplicates) {
  NumberCollection c(false);
  for (int v : {5, 1, 3}) c.Insert(N(v));
  int index = -1;
  EXPECT_TRUE(c.Search(Number{3}, index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(c.Search(Number{4}, index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(c.Insert(N(3)));
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.At(0)->value, 1);
  EXPECT_EQ(c.At(2)->value, 5);
}

TEST(SortedCollection, WithDuplicatesNewItemGoesFirstAndIndexOfFindsTheObject) {
  NumberCollection c(true);
  auto first3 = N(3);
  auto second3 = N(3);
  c.Insert(N(1));
  c.Insert(first3);
  c.Insert(N(5));
  // Insert the second 3 directly behind the first one, as in "1, 3, 3, 5".
  c.AtInsert(2, second3);
  int index = -1;
  EXPECT_TRUE(c.Search(Number{3}, index));
  EXPECT_EQ(index, 1);
  auto third3 = N(3);
  EXPECT_TRUE(c.Insert(third3));
  EXPECT_EQ(c.At(1).get(), third3.get());
  EXPECT_EQ(c.IndexOf(*second3), 3);
  EXPECT_EQ(c.IndexOf(Number{3}), -1);  // an equal key but another object
}

}  // namespace
}  // namespace vocatrix
