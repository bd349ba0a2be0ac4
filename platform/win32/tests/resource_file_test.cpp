#include "platform/win32/resource_file.h"

#include <gtest/gtest.h>

TEST(ResourceFile, RoundTripKeepsNumbersNamesAndBytes) {
  ResourceTable table;
  ASSERT_TRUE(table.Add(ResourceKey::Number(6), ResourceKey::Number(65535), {'a'}));
  ASSERT_TRUE(table.Add(ResourceKey::Name("GLDATA"), ResourceKey::Name("\x9Akoda"), {0, 1, 2}));
  EXPECT_FALSE(table.Add(ResourceKey::Name("gldata"), ResourceKey::Name("\x8Akoda"), {}))
      << "names are one in any case of code page 1250";

  std::vector<BYTE> image = SerializeResourceTable(table);
  ResourceTable read;
  std::string error;
  ASSERT_TRUE(ParseResourceImage(image.data(), image.size(), read, error)) << error;
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[0]->name.id, 65535);
  EXPECT_EQ(read.entries[1]->type.name, "GLDATA");
  EXPECT_EQ(read.entries[1]->name.name, "\x8AKODA") << "names are kept in upper case";
  EXPECT_EQ(read.entries[1]->data, (std::vector<BYTE>{0, 1, 2}));
  EXPECT_NE(read.Find(ResourceKey::FromArgument("GlData"), ResourceKey::FromArgument("\x9AKODA")), nullptr);
  EXPECT_TRUE(read.Add(ResourceKey::Number(6), ResourceKey::Name("65535"), {'b'}))
      << "a name is not the number it reads as";
  EXPECT_EQ(read.Find(ResourceKey::Number(6), ResourceKey::Number(65535))->data, std::vector<BYTE>{'a'});
  EXPECT_EQ(read.Find(ResourceKey::Number(6), ResourceKey::FromArgument("#65535"))->data, std::vector<BYTE>{'a'});
  EXPECT_EQ(read.Find(ResourceKey::Number(7), ResourceKey::Number(65535)), nullptr);
}

TEST(ResourceFile, DamagedImagesAreRefused) {
  ResourceTable table;
  table.Add(ResourceKey::Number(6), ResourceKey::Number(1), {'x'});
  std::vector<BYTE> image = SerializeResourceTable(table);
  ResourceTable read;
  std::string error;

  std::vector<BYTE> extra = image;
  extra.push_back(0);
  EXPECT_FALSE(ParseResourceImage(extra.data(), extra.size(), read, error));

  std::vector<BYTE> twice = image;
  twice[8] = 2;  // the count says two entries; append the same entry again
  twice.insert(twice.end(), image.begin() + 12, image.end());
  EXPECT_FALSE(ParseResourceImage(twice.data(), twice.size(), read, error));
  EXPECT_NE(error.find("twice"), std::string::npos) << error;

  std::vector<BYTE> badKey = image;
  badKey[12] = 7;  // neither a number nor a name
  EXPECT_FALSE(ParseResourceImage(badKey.data(), badKey.size(), read, error));

  EXPECT_FALSE(ParseResourceImage(image.data(), 5, read, error));
  EXPECT_FALSE(ParseResourceImage(nullptr, 0, read, error));
  EXPECT_TRUE(read.entries.empty()) << "nothing is kept from a refused image";
}

TEST(ResourceFile, ArgumentsInTheirWindowsForms) {
  EXPECT_TRUE(ResourceKey::FromArgument(reinterpret_cast<LPCSTR>(17)).isNumber);
  ResourceKey hash = ResourceKey::FromArgument("#17");
  EXPECT_TRUE(hash.isNumber);
  EXPECT_EQ(hash.id, 17);
  EXPECT_FALSE(ResourceKey::FromArgument("#1x").isNumber);
  EXPECT_FALSE(ResourceKey::FromArgument("#70000").isNumber) << "too big for a number";
  EXPECT_EQ(ResourceKey::FromArgument("dialog").name, "DIALOG");
}
