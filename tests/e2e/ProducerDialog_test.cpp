// The producer dialog through the real runner and "Wizard.dll", worked from
// session scripts on the sample radiator made by two producers: the choice
// after the product's data, found again by the next request, the hand-over
// to the parametric dialog with or without the producer's data and the way
// back, and the one-shot flag that skips the producer dialog once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace {

// PPDlg (or another of the two) of a sample product in view B, not
// connected; product code and argument 13 as given ("-" for none).
std::vector<std::string> Request(const char* product, const char* exportName = "PPDlg", const char* code = "-",
                                 const char* arg13 = "-") {
  return {"--run", exportName, "--arg", "main", "--arg", std::string("db:T:") + product, "--arg", "1", "--arg", "-",
          "--arg", "0", "--arg", "1000", "--arg", "0", "--arg", "-", "--arg", "1", "--arg", code, "--arg", "-",
          "--arg", arg13, "--arg", "-"};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ProducerDialog : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    std::filesystem::create_directories(dir_ / "profile" / "Dat");
  }
  Outcome Wizard(std::vector<std::string> args, const std::string& script) {
    args.insert(args.begin(), {"--module", "Wizard.dll", "--verbose", "--registry", Path("registry"), "--script",
                               Write("script.txt", script)});
    return Run(args);
  }
  // The output of the n-th call (0-based), from its result line on.
  static std::string Call(const Outcome& o, int n) {
    size_t at = 0;
    for (int i = 0; i <= n; ++i) {
      at = o.out.find("result: ", i == 0 ? 0 : at + 1);
      if (at == std::string::npos) return {};
    }
    const size_t end = o.out.find("\nresult: ", at);
    return o.out.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
  }
  // The texts of chain 2's last nodes, "key=value" pairs joined by '|'.
  static std::string LastPairs(const std::string& call, int pairs) {
    std::vector<std::string> texts;
    size_t at = 0;
    const std::string prefix = "chain 2: 1000 \"";
    while ((at = call.find(prefix, at)) != std::string::npos) {
      at += prefix.size();
      texts.push_back(call.substr(at, call.find("\"\n", at) - at));
    }
    std::string out;
    for (size_t i = texts.size() < 2u * pairs ? 0 : texts.size() - 2u * pairs; i + 1 < texts.size(); i += 2)
      out += (out.empty() ? "" : "|") + texts[i] + "=" + texts[i + 1];
    return out;
  }
  static bool HasPair(const std::string& call, const std::string& key, const std::string& value) {
    return call.find("chain 2: 1000 \"" + key + "\"\nchain 2: 1000 \"" + value + "\"\n") != std::string::npos;
  }
};

}  // namespace

TEST_F(ProducerDialog, TheChoiceFollowsTheProductsDataAndTheNextRequestFindsItAgain) {
  const Outcome o = Wizard(Join(Join(Request("TOT0600-0001"), Request("TOT0600-0001")),
                                Join(Request("TOT0600-0001"), Request("TOT0600-0001"))),
                           "dialog 1007\nchoose 1044 \"Radiatec a.s.\"\nok\n"
                           "dialog 1007\nok\n"
                           "dialog 1007\nchoose 1044 \"Termalis s.r.o.\"\nchoose 1048 01.03.2023\n"
                           "choose 1047 600/1400\nok\n"
                           "dialog 1007\nok\n");
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  const std::string first = Call(o, 0), second = Call(o, 1), third = Call(o, 2), fourth = Call(o, 3);
  EXPECT_EQ(first.rfind("result: 1\n", 0), 0u) << first;
  EXPECT_EQ(LastPairs(first, 6),
            "_GROUP=Deskové|_QTYPE=Typ 11|_MEASUREMENT=600/1000|_QDATE=1036065|_PRICE=3310.00|_QUNIT=1")
      << "1 September 2023 is 2023 * 512 + 9 * 32 + 1: " << first;
  EXPECT_TRUE(HasPair(first, "_QPROD", "Radiatec a.s."));

  // Nothing chosen: the producer and the version written on OK.
  EXPECT_TRUE(HasPair(second, "_QPROD", "Radiatec a.s.")) << second;
  EXPECT_TRUE(HasPair(second, "_QDATE", "1036065"));

  EXPECT_TRUE(HasPair(third, "L", "1400")) << third;
  EXPECT_TRUE(HasPair(third, "_QDATE", "1035873"));
  // An older version than the last, and its second measurement, which the
  // last values L 1400 pick.
  EXPECT_TRUE(HasPair(fourth, "_QPROD", "Termalis s.r.o.")) << fourth;
  EXPECT_TRUE(HasPair(fourth, "_QDATE", "1035873"));
  EXPECT_TRUE(HasPair(fourth, "_MEASUREMENT", "600/1400"));
  EXPECT_NE(fourth.find("1048 ComboBox \"01.03.2023\" items=2 selected=0"), std::string::npos) << fourth;
}

TEST_F(ProducerDialog, TheHandOverKeepsTheProducersDataWhenAskedAndBackReturnsToTheChoice) {
  const Outcome kept = Wizard(Request("TOT0600-0001"),
                              "dialog 1007\nchoose 1044 \"Radiatec a.s.\"\ncheck 1056 1\nclick 1049\n"
                              "dialog 1006\nok\n");
  ASSERT_EQ(kept.exit, 0) << kept.err << kept.out;
  EXPECT_TRUE(kept.Has("result: 1")) << kept.out;
  EXPECT_NE(kept.out.find("  1057 Button \"< Back\"\n"), std::string::npos) << "back enabled: " << kept.out;
  EXPECT_EQ(LastPairs(kept.out, 6),
            "_QDATE=1036065|_GROUP=Deskové|_QTYPE=Typ 11|_MEASUREMENT=600/1000|_PRICE=3310.00|_QUNIT=1");
  EXPECT_TRUE(HasPair(kept.out, "_QPROD", "Radiatec a.s."));

  const Outcome dropped = Wizard(Request("TOT0600-0001"),
                                 "dialog 1007\nchoose 1044 \"Radiatec a.s.\"\ncheck 1056 0\nclick 1049\n"
                                 "dialog 1006\nok\n");
  ASSERT_EQ(dropped.exit, 0) << dropped.err;
  EXPECT_TRUE(dropped.Has("result: 1")) << dropped.out;
  for (const char* key : {"_QDATE", "_GROUP", "_QTYPE", "_MEASUREMENT", "_PRICE", "_QUNIT", "_QPROD"})
    EXPECT_EQ(dropped.out.find(std::string("\"") + key + "\""), std::string::npos) << key;

  const Outcome back = Wizard(Request("TOT0600-0001"),
                              "dialog 1007\nchoose 1044 \"Radiatec a.s.\"\nclick 1049\n"
                              "dialog 1006\nclick 1057\n"
                              "dialog 1007\ncancel\n");
  ASSERT_EQ(back.exit, 0) << back.err;
  EXPECT_TRUE(back.Has("result: 2")) << back.out;
  const size_t again = back.out.find("dialog 1007", back.out.find("dialog 1006"));
  ASSERT_NE(again, std::string::npos) << back.out;
  EXPECT_NE(back.out.find("1044 ComboBox \"Radiatec a.s.\" items=2 selected=1", again), std::string::npos)
      << "the choice kept: " << back.out.substr(again);
  EXPECT_NE(back.out.find("1020 ComboBox \"Typ 11\"", again), std::string::npos);
}

TEST_F(ProducerDialog, TheOneShotFlagSkipsTheProducerDialogForOneRequest) {
  const Outcome o = Wizard(Join(Join({"--run", "setPPDisplayPP2OnlyWithValidProd"}, Request("TOT0600-0001")),
                                Request("TOT0600-0001")),
                           "dialog 1006\ncancel\n"
                           "dialog 1007\ncancel\n");
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  const size_t parametric = o.out.find("dialog 1006 "), producer = o.out.find("dialog 1007 ");
  ASSERT_NE(parametric, std::string::npos) << o.out;
  ASSERT_NE(producer, std::string::npos) << o.out;
  EXPECT_LT(parametric, producer) << "argument 13 missing: the parametric dialog first, then the producer's again";
  auto opened = [&o](const std::string& dialog) {
    int n = 0;
    for (size_t at = o.out.find(dialog); at != std::string::npos; at = o.out.find(dialog, at + 1))
      if (o.out.compare(o.out.find('\n', at) - 8, 8, ": opened") == 0) ++n;
    return n;
  };
  EXPECT_EQ(opened("dialog 1006 "), 1);
  EXPECT_EQ(opened("dialog 1007 "), 1);
  EXPECT_TRUE(o.Has("result: -")) << "the flag's export";
}
