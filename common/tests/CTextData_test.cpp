#include "common/CTextData.h"
#include "common/InternedTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

std::string Written(const CTextData& data) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(data.Write(out));
  return out.str();
}

// An input stream that cannot seek or tell, as a pipe would be.
class PipeBuf : public std::streambuf {
 public:
  explicit PipeBuf(std::string data) : data_(std::move(data)) {
    setg(data_.data(), data_.data(), data_.data() + data_.size());
  }

 protected:
  pos_type seekoff(off_type, std::ios::seekdir, std::ios::openmode) override {
    return pos_type(off_type(-1));
  }
  pos_type seekpos(pos_type, std::ios::openmode) override { return pos_type(off_type(-1)); }

 private:
  std::string data_;
};

TEST(CTextData, FieldsAreSetUnsetOrOutOfRange) {
  CTextData data(3);
  EXPECT_EQ(data.GetCount(), 3u);
  EXPECT_EQ(data.GetField(0), nullptr);
  char text[] = "abc";
  EXPECT_TRUE(data.SetField(0, text));
  text[0] = 'x';
  EXPECT_STREQ(data.GetField(0), "abc");
  EXPECT_TRUE(data.SetField(1, ""));
  EXPECT_STREQ(data.GetField(1), "");
  EXPECT_TRUE(data.SetField(0, nullptr));
  EXPECT_EQ(data.GetField(0), nullptr);
  EXPECT_FALSE(data.SetField(3, "x"));
  EXPECT_EQ(data.GetField(3), nullptr);

  data.Resize(2);
  EXPECT_EQ(data.GetCount(), 2u);
  EXPECT_EQ(data.GetField(1), nullptr);  // old texts are not kept
  CTextData none(0);
  EXPECT_FALSE(none.SetField(0, "x"));
  EXPECT_EQ(none.GetField(0), nullptr);
}

TEST(CTextData, NoFieldsWritesOnlyTheCount) {
  CTextData empty(0);
  EXPECT_EQ(Written(empty), Bytes({0, 0, 0, 0}));
  CTextData back(4);
  back.SetField(0, "x");
  std::istringstream in(Written(empty));
  ASSERT_TRUE(back.Read(in));
  EXPECT_EQ(back.GetCount(), 0u);
  EXPECT_EQ(back.GetField(0), nullptr);
}

TEST(CTextData, BinaryFormByteByByte) {
  CTextData data(3);
  data.SetField(0, "A");
  data.SetField(2, "");
  const std::string expected = Bytes({3, 0, 0, 0,  //
                                      2, 0, 0, 0, 'A', 0,  //
                                      0, 0, 0, 0,  //
                                      1, 0, 0, 0, 0});
  EXPECT_EQ(Written(data), expected);

  CTextData back;
  std::istringstream in(expected);
  ASSERT_TRUE(back.Read(in));
  ASSERT_EQ(back.GetCount(), 3u);
  EXPECT_STREQ(back.GetField(0), "A");
  ASSERT_NE(back.GetField(1), nullptr);  // an unset field reads back empty
  EXPECT_STREQ(back.GetField(1), "");
  EXPECT_STREQ(back.GetField(2), "");
}

TEST(CTextData, LengthsAreLittleEndian) {
  CTextData data(1);
  data.SetField(0, std::string(300, 'q').c_str());
  std::string bytes = Written(data);
  ASSERT_EQ(bytes.size(), 4u + 4u + 301u);
  EXPECT_EQ(bytes.substr(4, 4), Bytes({0x2D, 0x01, 0, 0}));
  EXPECT_EQ(bytes.back(), '\0');
}

TEST(CTextData, StoredTextEndsAtItsLastByteOrAnEarlierNul) {
  CTextData data;
  std::istringstream in(Bytes({2, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 6, 0, 0, 0, 'a', 'b', 0,
                               'c', 'd', 0}));
  ASSERT_TRUE(data.Read(in));
  EXPECT_STREQ(data.GetField(0), "ab");
  EXPECT_STREQ(data.GetField(1), "ab");
}

TEST(CTextData, EveryTruncationFailsCleanly) {
  CTextData source(3);
  source.SetField(0, "first");
  source.SetField(2, "third");
  const std::string full = Written(source);
  for (size_t cut = 0; cut < full.size(); ++cut) {
    CTextData data(1);
    data.SetField(0, "keep");
    std::istringstream in(full.substr(0, cut));
    EXPECT_FALSE(data.Read(in)) << "cut at " << cut;
    EXPECT_TRUE(in.fail());
    ASSERT_EQ(data.GetCount(), 1u);
    EXPECT_STREQ(data.GetField(0), "keep");
  }
}

TEST(CTextData, ImplausibleCountsAndLengthsAreRefused) {
  CTextData data(1);
  data.SetField(0, "keep");
  std::istringstream hugeCount(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'A', 0}));
  EXPECT_FALSE(data.Read(hugeCount));
  std::istringstream hugeLength(Bytes({1, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 'A', 0}));
  EXPECT_FALSE(data.Read(hugeLength));
  EXPECT_STREQ(data.GetField(0), "keep");
}

TEST(CTextData, StreamsThatCannotSeekAreReadInBoundedSteps) {
  CTextData data(1);
  data.SetField(0, "keep");
  {
    PipeBuf buf(Bytes({1, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 'A', 0}));
    std::istream in(&buf);
    EXPECT_FALSE(data.Read(in));
    EXPECT_TRUE(in.fail());
  }
  {
    PipeBuf buf(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}));
    std::istream in(&buf);
    EXPECT_FALSE(data.Read(in));
  }
  EXPECT_STREQ(data.GetField(0), "keep");
  {
    PipeBuf buf(Bytes({2, 0, 0, 0, 2, 0, 0, 0, 'B', 0, 0, 0, 0, 0}));
    std::istream in(&buf);
    ASSERT_TRUE(data.Read(in));
  }
  ASSERT_EQ(data.GetCount(), 2u);
  EXPECT_STREQ(data.GetField(0), "B");
  EXPECT_STREQ(data.GetField(1), "");
}

TEST(CTextData, ConsecutiveRecordsShareOneStream) {
  CTextData a(2), b(1);
  a.SetField(0, "x");
  a.SetField(1, "yy");
  b.SetField(0, "\xe8\x9a");  // code page 1250 bytes pass through untouched
  std::stringstream io(std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(a.Write(io));
  ASSERT_TRUE(b.Write(io));
  CTextData ra, rb;
  ASSERT_TRUE(ra.Read(io));
  ASSERT_TRUE(rb.Read(io));
  EXPECT_STREQ(ra.GetField(1), "yy");
  EXPECT_STREQ(rb.GetField(0), "\xe8\x9a");
  CTextData rc;
  EXPECT_FALSE(rc.Read(io));  // nothing left
}

}  // namespace

namespace {

// Short texts are held in the object and long ones on the heap; however a
// field is set, reset or given a text of its own object, every field reads
// back its last text, and a field not set again stays where it is.
TEST(CTextData, FieldsKeepTheirTextsWhereverTheyAreHeld) {
  const std::string longText(100, 'L');
  for (uint32_t n : {1u, 2u, 12u}) {
    SCOPED_TRACE(n);
    CTextData data(n);
    ASSERT_TRUE(data.SetField(0, "first"));
    const char* const firstAt = data.GetField(0);
    std::string last;
    // Enough sets of the last field to outgrow any room inside the object.
    for (int round = 0; round < 20; ++round) {
      last = round % 3 == 2 ? longText : std::string(static_cast<size_t>(round % 7), static_cast<char>('a' + round));
      ASSERT_TRUE(data.SetField(n - 1, last.c_str()));
      if (n > 1) {
        EXPECT_EQ(data.GetField(0), firstAt);
      }
    }
    EXPECT_EQ(data.GetField(n - 1), last);
    // The new text may be the field's own or another field's.
    ASSERT_TRUE(data.SetField(n - 1, data.GetField(n - 1)));
    ASSERT_TRUE(data.SetField(0, data.GetField(n - 1)));
    EXPECT_EQ(data.GetField(0), last);
    EXPECT_EQ(data.GetField(n - 1), last);
    for (uint32_t i = 1; i + 1 < n; ++i) EXPECT_EQ(data.GetField(i), nullptr);

    // A read replaces texts of both kinds.
    CTextData back(2);
    back.SetField(0, "x");
    back.SetField(1, longText.c_str());
    std::istringstream in(Written(data));
    ASSERT_TRUE(back.Read(in));
    ASSERT_EQ(back.GetCount(), n);
    for (uint32_t i = 0; i < n; ++i) EXPECT_STREQ(back.GetField(i), data.GetField(i) ? data.GetField(i) : "");
    back.Resize(2);
    EXPECT_EQ(back.GetField(0), nullptr);
    ASSERT_TRUE(back.SetField(1, longText.c_str()));
    EXPECT_EQ(back.GetField(1), longText);
  }
}

}  // namespace

namespace {

// The same steps on an object of its own texts and on one of interned
// texts, switched over before, between and after them: both read and write
// alike at every step; interned texts of the same bytes are one, and they
// stay while a holder lives, then go with the store.
TEST(CTextData, InternedTextsReadAndWriteAsOwnedOnes) {
  const std::string longText(100, 'L');
  const std::vector<std::pair<uint32_t, std::string>> steps = {
      {0, "key"}, {1, "1"}, {1, longText}, {0, "1"}, {1, ""}, {0, longText}, {1, "value"}};
  for (uint32_t n : {2u, 12u}) {
    for (size_t switchAt = 0; switchAt <= steps.size(); ++switchAt) {
      SCOPED_TRACE(testing::Message() << n << " fields, interned after step " << switchAt);
      CTextData owned(n);
      CTextData interned(n);
      for (size_t i = 0; i <= steps.size(); ++i) {
        if (i == switchAt) {
          ASSERT_TRUE(interned.KeepTextsInterned());
        }
        if (i == steps.size()) break;
        const uint32_t field = steps[i].first == 0 ? 0 : n - 1;
        ASSERT_TRUE(owned.SetField(field, steps[i].second.c_str()));
        ASSERT_TRUE(interned.SetField(field, steps[i].second.c_str()));
        ASSERT_EQ(Written(interned), Written(owned));
      }
      // A text may be set from the object's own.
      ASSERT_TRUE(interned.SetField(0, interned.GetField(n - 1)));
      ASSERT_TRUE(owned.SetField(0, owned.GetField(n - 1)));
      EXPECT_EQ(Written(interned), Written(owned));
      EXPECT_EQ(interned.GetField(0), interned.GetField(n - 1));
      // A read keeps the object's kind of texts.
      std::istringstream in(Written(owned));
      std::istringstream again(Written(owned));
      ASSERT_TRUE(interned.Read(in));
      ASSERT_TRUE(owned.Read(again));
      EXPECT_EQ(Written(interned), Written(owned));
      CTextData other(1);
      ASSERT_TRUE(other.KeepTextsInterned());
      ASSERT_TRUE(other.SetField(0, "value"));
      EXPECT_EQ(other.GetField(0), interned.GetField(n - 1));
    }
  }
  {
    CTextData holder(1);
    ASSERT_TRUE(holder.KeepTextsInterned());
    ASSERT_TRUE(holder.SetField(0, "kept"));
    interned_texts::ReleaseUnused();
    EXPECT_STREQ(holder.GetField(0), "kept");
    EXPECT_GT(interned_texts::Count(), 0u);
  }
  interned_texts::ReleaseUnused();
  EXPECT_EQ(interned_texts::Count(), 0u);
}

// Texts of every length around the eight-byte words the hash takes, each
// also as a prefix and with one letter changed, thousands of them so that
// the store grows: each is one copy, asked again from other bytes.
TEST(CTextData, InternedTextsAreOneCopyPerTextWhateverItsLength) {
  interned_texts::ReleaseUnused();
  ASSERT_EQ(interned_texts::Count(), 0u);
  CTextData holder(0);
  ASSERT_TRUE(holder.KeepTextsInterned());
  std::vector<std::string> texts;
  for (size_t length = 0; length <= 26; ++length)
    for (char first = 'a'; first <= 'z'; ++first)
      for (char last : {'x', 'y'}) {
        std::string text(length, first);
        if (length) text.back() = last;
        if (length > 1) text[length / 2] = '0';
        texts.push_back(text);
        texts.push_back(text + std::string(1, '\0') + "hidden");  // the same text up to its NUL
      }
  std::vector<const char*> kept;
  for (const std::string& text : texts) kept.push_back(interned_texts::Intern(text.c_str()));
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string again = texts[i];
    ASSERT_STREQ(kept[i], texts[i].c_str());
    EXPECT_EQ(interned_texts::Intern(again.c_str()), kept[i]) << texts[i];
    EXPECT_NE(kept[i], texts[i].c_str());
  }
  EXPECT_EQ(interned_texts::Count(), std::set<std::string>(kept.begin(), kept.end()).size());
  EXPECT_EQ(std::set<const char*>(kept.begin(), kept.end()).size(), interned_texts::Count());
}

}  // namespace
