#include "jov_vantrix/network/RecordText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Texts at and around the inline room, set every way the records set them,
// then copied, moved and set again from themselves: the content, length and
// comparisons follow the text wherever it lives.
TEST(RecordText, KeepsItsTextInsideOrOnTheHeapAlike) {
  const std::string fifteen(RecordText::kInline, 'x');
  const std::string sixteen(RecordText::kInline + 1, 'y');
  const std::string longText(300, 'z');
  const char* texts[] = {nullptr, "", "1", "T1", fifteen.c_str(), sixteen.c_str(), longText.c_str()};
  for (const char* text : texts) {
    const std::string want = text ? text : "";
    const CString framework(text);
    RecordText fromText(text);
    RecordText fromFramework(framework);
    RecordText assigned;
    assigned = "something else entirely, on the heap";
    assigned = text;
    for (const RecordText* t : {&fromText, &fromFramework, &assigned}) {
      EXPECT_EQ(std::string(t->GetString()), want);
      EXPECT_EQ(t->GetLength(), static_cast<int>(want.size()));
      EXPECT_EQ(t->IsEmpty(), want.empty());
      EXPECT_TRUE(*t == want.c_str());
      EXPECT_TRUE(*t == framework);
      EXPECT_TRUE(framework == *t);
      EXPECT_FALSE(*t == "other") << want;
      EXPECT_EQ(t->ToCString(), framework);
    }

    RecordText copy(fromText);
    EXPECT_TRUE(copy == fromText);
    EXPECT_NE(copy.GetString(), fromText.GetString()) << "a copy has a text of its own";
    RecordText moved(std::move(copy));
    EXPECT_TRUE(moved == fromText);
    EXPECT_TRUE(copy.IsEmpty());
    copy = std::move(moved);
    EXPECT_TRUE(copy == fromText);
    // A part of its own text, inline or not.
    copy = copy.GetString() + (want.size() > 1 ? 1 : 0);
    EXPECT_EQ(std::string(copy.GetString()), want.size() > 1 ? want.substr(1) : want);
    const RecordText& alias = copy;
    copy = alias;
    EXPECT_EQ(std::string(copy.GetString()), want.size() > 1 ? want.substr(1) : want);
    // SetAt as the framework's: inside the text only, wherever it lives.
    RecordText changed(text);
    CString changedFramework(framework);
    for (int at : {-1, 0, static_cast<int>(want.size()) - 1, static_cast<int>(want.size())}) {
      if (at < 0 || at >= static_cast<int>(want.size())) {
        EXPECT_THROW(changed.SetAt(at, 'q'), std::out_of_range) << at;
        continue;
      }
      changed.SetAt(at, 'q');
      changedFramework.SetAt(at, 'q');
      EXPECT_TRUE(changed == changedFramework) << at;
    }
    copy.Empty();
    EXPECT_TRUE(copy == "");
  }
}

}  // namespace
