#include "tools/cards/emu/card_bank.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// Sends the bytes, lets the line go quiet and returns everything the cards sent back.
Bytes talk(CardBank& bank, const Bytes& request) {
  bank.receive(request.data(), request.size());
  bank.line_quiet();
  Bytes out;
  for (const EmuReply& r : bank.outbox()) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
  bank.outbox().clear();
  return out;
}

Bytes frame(int card) {
  Bytes f(kCommandBytes, 0);
  f[0] = static_cast<uint8_t>(16 * card + 1);
  f[1] = 0x08;
  f[51] = 0x12;
  f[52] = 0x34;
  f[53] = 0x56;
  return f;
}

TEST(CardBank, ProbeAnswers) {
  struct Case {
    std::vector<int> cards;
    uint8_t probe;
    Bytes answer;
  };
  const Case cases[] = {
      {{0}, 0x41, {0x83}},    {{0, 2}, 0x41, {}},           {{0, 2}, 0x01, {0x83}},
      {{0, 2}, 0x21, {0xA3}}, {{0, 2}, 0x11, {}},           {{3}, 0x31, {0xB3}},
      {{1}, 0x41, {}},        {{0, 1, 2, 3}, 0x11, {0x93}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.probe);
    CardBank bank(c.cards);
    EXPECT_EQ(talk(bank, {c.probe}), c.answer);
  }
  CardBank bank({0});
  ASSERT_EQ(bank.apply({"silent", "0"}), "");
  EXPECT_EQ(talk(bank, {0x01}), Bytes{});
}

TEST(CardBank, AnswersOnlyValidFramesForItsCards) {
  CardBank bank({1});
  ASSERT_EQ(bank.apply({"det", "1", "9", "1"}), "");
  ASSERT_EQ(bank.apply({"can", "1", "4", "250"}), "");
  ASSERT_EQ(bank.apply({"in", "1", "35", "1"}), "");
  ASSERT_EQ(bank.apply({"in", "1", "40", "1"}), "");
  const Bytes answer = talk(bank, frame(1));
  ASSERT_EQ(answer.size(), static_cast<size_t>(kAnswerBytes));
  EXPECT_EQ(answer[0], 0x83);
  EXPECT_EQ(answer[5], 250);
  EXPECT_EQ(answer[6], 0x01);
  EXPECT_EQ(answer[12], 0x02);
  EXPECT_EQ(answer[24], 0x08);
  EXPECT_EQ(bank.card(1).frames, 1);

  Bytes bad_marker = frame(1);
  bad_marker[53] = 0x57;
  Bytes bad_second = frame(1);
  bad_second[1] = 0x09;
  for (const Bytes& request : {bad_marker, bad_second, frame(0)}) {
    EXPECT_EQ(talk(bank, request), Bytes{});
  }
  EXPECT_EQ(bank.card(1).frames, 1);
}

TEST(CardBank, ZerosFinishAFrameCutShort) {
  CardBank bank({0});
  Bytes cut = frame(0);
  cut.resize(30);
  EXPECT_EQ(talk(bank, cut), Bytes{});
  EXPECT_EQ(talk(bank, Bytes(60, 0)), Bytes{});
  EXPECT_EQ(talk(bank, frame(0)).size(), static_cast<size_t>(kAnswerBytes));
}

TEST(CardBank, FaultsAndDirectAccess) {
  CardBank bank({0, 2});
  ASSERT_EQ(bank.apply({"drop", "2", "1"}), "");
  ASSERT_EQ(bank.apply({"corrupt", "2", "1"}), "");
  EXPECT_EQ(talk(bank, frame(2)), Bytes{});
  EXPECT_EQ(talk(bank, frame(2))[0], 0x82);
  EXPECT_EQ(talk(bank, frame(2))[0], 0x83);
  // Direct accesses go to the card of the last frame.
  EXPECT_EQ(talk(bank, {0x02, 7, 0x03, 99}), Bytes{});
  EXPECT_EQ(bank.card(2).reg[7], 99);
  EXPECT_EQ(talk(bank, {0x02, 7, 0x04}), Bytes{99});
  EXPECT_EQ(talk(bank, frame(0)).size(), static_cast<size_t>(kAnswerBytes));
  EXPECT_EQ(talk(bank, {0x02, 7, 0x04}), Bytes{0});

  EXPECT_NE(bank.apply({"det", "1", "0", "1"}), "");   // card 1 is not there
  EXPECT_NE(bank.apply({"det", "0", "16", "1"}), "");  // no detection 16
  EXPECT_NE(bank.apply({"can", "0", "0", "256"}), "");
  EXPECT_NE(bank.apply({"blink", "0"}), "");
}

TEST(CardBank, FrameLine) {
  CardBank bank({3});
  Bytes f = frame(3);
  f[2] = 0xAB;
  talk(bank, f);
  const std::string line = bank.frame_line(3);
  EXPECT_EQ(line.substr(0, 18), "FRAME 3: 31 08 ab ");
  EXPECT_EQ(line.size(), std::string("FRAME 3:").size() + 3 * kCommandBytes);
  EXPECT_EQ(line.substr(line.size() - 12), " 12 34 56 00");
}

}  // namespace
