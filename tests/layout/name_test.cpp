#include "layout/name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using layout::Name;

// One name given text after text: across the border between held inside
// and held on the heap, both ways, with a 0 byte in it, copied and moved
// at each step.
TEST(NameTest, KeepsEveryByteWhereverItIsHeld) {
  const std::string texts[] = {
      "",
      std::string(Name::kInline, 'a'),
      std::string(Name::kInline + 1, 'b'),
      std::string(255, 'c'),
      std::string(256, 'c'),  // one byte more than the buffer before holds
      std::string("a\0b", 3),
  };
  Name name;
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size());
    name = text;
    EXPECT_EQ(name.str(), text);
    EXPECT_EQ(name.c_str()[text.size()], '\0');
    Name copy(name);
    EXPECT_TRUE(copy == name && copy == text && text == copy);
    Name moved(std::move(copy));
    EXPECT_EQ(moved.str(), text);
    EXPECT_TRUE(copy.empty());
    copy = std::move(moved);
    EXPECT_EQ(copy.str(), text);
    copy = name;  // onto itself in content
    EXPECT_EQ(copy.str(), text);
  }
  EXPECT_FALSE(Name("ab") == "abc");
  EXPECT_FALSE(Name(std::string("a\0c", 3)) == std::string("a\0b", 3));
  EXPECT_TRUE(Name("ab") != "ac");
}

}  // namespace
