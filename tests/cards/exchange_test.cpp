#include <gtest/gtest.h>

#include "card_rig.h"
#include "cards/card_exchange.h"
#include "cards/card_search.h"

namespace {

const char kLostLink[] =
    "Perte de liaison avec la (carte ZIR 2)\n Si vous voulez rétablir la liaison :\n"
    "  1 - rebranchez le câble, \n  2 - cliquez sur [OUI] ";

struct ExchangeTest : ::testing::Test {
  ExchangeTest() { open_cards(rig.sys); }
  CardRig rig{{0, 2}};
  System& sys = rig.sys;
  CardBank& bank = *rig.bank;
};

TEST_F(ExchangeTest, InputsFlowInAndTheFrameGoesOut) {
  rig.apply({"det", "2", "5", "1"});
  rig.apply({"in", "2", "41", "1"});
  rig.apply({"in", "2", "3", "1"});
  rig.apply({"can", "2", "4", "99"});
  sys.io.out[2 * kOutPerCard + 7] = 1;
  sys.cantons.Vit_reel[2 * kDetPerCard + 1] = -20;
  exchange_cards(sys);
  EXPECT_EQ(sys.io.det[2 * kDetPerCard + 5], 1);
  EXPECT_EQ(sys.io.in[2 * kInPerCard + 41], 1);
  EXPECT_EQ(sys.io.in[2 * kInPerCard + 3], 1);
  EXPECT_EQ(sys.io.can[2 * kCanPerCard + 4], 99);
  EXPECT_EQ(bank.card(0).frames, 1);
  EXPECT_EQ(bank.card(2).frames, 1);
  EXPECT_EQ(bank.card(2).last_frame, sys.cardlink.links[2].command);
  EXPECT_EQ(bank.card(2).last_frame[20], 0x80);
  EXPECT_EQ(bank.card(2).last_frame[3], 20);
  EXPECT_EQ(sys.cardlink.serial.error_counter, 0);
  EXPECT_TRUE(rig.host.boxes.empty());
}

TEST_F(ExchangeTest, RejectedAnswerCostsNoWait) {
  rig.apply({"corrupt", "0", "1"});
  build_command(sys, 0);
  const uint32_t before = rig.host.clock_ms;
  ASSERT_TRUE(send_frame(sys, 0));
  EXPECT_FALSE(receive_answer(sys, 0));
  EXPECT_EQ(rig.host.clock_ms - before, 1u);
  EXPECT_EQ(sys.cardlink.serial.error_counter, 0);
}

// A line on which the answer's bytes come one every 60 ms: each one within the time limit of
// a read, the whole answer long after the 100 ms an answer may take.
class TricklingPort : public SerialPort {
 public:
  explicit TricklingPort(RecordingHost& host) : host_(host), start_(host.clock_ms) {}
  Setup configure(std::string&) override { return kSettingsApplied; }
  bool write_bytes(const uint8_t*, size_t) override { return true; }
  size_t read_bytes(uint8_t* data, size_t count, int timeout_ms) override {
    size_t got = 0;
    while (got < count) {
      const uint32_t due = start_ + 60 * (sent_ + 1);
      const uint32_t wait = due > host_.clock_ms ? due - host_.clock_ms : 0;
      if (wait > static_cast<uint32_t>(timeout_ms)) {
        host_.sleep_ms(timeout_ms);
        break;
      }
      host_.sleep_ms(static_cast<int>(wait));
      data[got++] = sent_++ == 0 ? 0x83 : 0x00;
    }
    return got;
  }
  void purge() override {}
  std::string name() const override { return "trickle"; }

 private:
  RecordingHost& host_;
  uint32_t start_;
  uint32_t sent_ = 0;
};

TEST(ReceiveAnswer, GivesUpAfter100MsEvenWhileBytesTrickleIn) {
  RecordingHost host;
  System sys{host};
  sys.cardlink.serial.port = std::make_unique<TricklingPort>(host);
  sys.cardlink.serial.active = 1;
  EXPECT_FALSE(receive_answer(sys, 0));
  EXPECT_EQ(host.clock_ms, 100u);
  EXPECT_EQ(sys.cardlink.serial.error_counter, 1);
}

TEST_F(ExchangeTest, LostAnswersRecoverWithinTheTick) {
  struct Case {
    const char* fault;
    int count;
    int timeouts;
  };
  const Case cases[] = {{"drop", 1, 1}, {"drop", 3, 3}, {"corrupt", 2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fault) + " " + std::to_string(c.count));
    const int errors = sys.cardlink.serial.error_counter;
    rig.apply({c.fault, "2", std::to_string(c.count)});
    rig.apply({"det", "2", "9", 1 - sys.io.det[2 * kDetPerCard + 9] ? "1" : "0"});
    const int expected_det = bank.card(2).det[9];
    exchange_cards(sys);
    EXPECT_EQ(sys.io.det[2 * kDetPerCard + 9], expected_det);
    EXPECT_EQ(sys.cardlink.links[2].linked, 1);
    EXPECT_EQ(sys.cardlink.serial.error_counter - errors, c.timeouts);
    EXPECT_TRUE(rig.host.boxes.empty());
  }
}

TEST_F(ExchangeTest, SilentCardAsksAndNoUnlinks) {
  sys.io.det[2 * kDetPerCard + 1] = 1;  // the last values stay when the card is lost
  rig.apply({"silent", "2"});
  rig.apply({"det", "2", "1", "0"});
  const uint32_t before = rig.host.clock_ms;
  exchange_cards(sys);
  // Four receive time-outs, a drain, a burst and a double burst before the box.
  EXPECT_GE(rig.host.clock_ms - before, 4 * 100u + 100 + 160 + 330);
  EXPECT_EQ(sys.cardlink.serial.error_counter, 4);
  ASSERT_EQ(rig.host.boxes.size(), 1u);
  EXPECT_TRUE(rig.host.boxes[0].question);
  EXPECT_EQ(rig.host.boxes[0].title, "ZIR - Erreur");
  EXPECT_EQ(rig.host.boxes[0].text, kLostLink);
  EXPECT_EQ(sys.cardlink.links[2].linked, 0);
  EXPECT_EQ(sys.io.det[2 * kDetPerCard + 1], 1);
  // No further box or frame for it; card 0 goes on.
  exchange_cards(sys);
  EXPECT_EQ(rig.host.boxes.size(), 1u);
  EXPECT_EQ(bank.card(0).frames, 2);
}

TEST_F(ExchangeTest, YesKeepsTheCardAndTheExchangeResumes) {
  rig.apply({"det", "2", "6", "1"});
  exchange_cards(sys);
  rig.apply({"silent", "2"});
  rig.apply({"det", "2", "6", "0"});
  rig.host.answers.push_back(true);
  exchange_cards(sys);
  EXPECT_EQ(rig.host.boxes.size(), 1u);
  EXPECT_EQ(sys.cardlink.links[2].linked, 1);
  EXPECT_EQ(sys.io.det[2 * kDetPerCard + 6], 1);  // the previous answer stays in place
  rig.apply({"resume", "2"});
  exchange_cards(sys);
  EXPECT_EQ(sys.io.det[2 * kDetPerCard + 6], 0);
  EXPECT_EQ(rig.host.boxes.size(), 1u);
}

TEST_F(ExchangeTest, DirectAccessSlots) {
  rig.apply({"reg", "2", "200", "77"});
  auto slot = [&](int s) -> DirectSlot& { return sys.cardlink.slots[2 * kDirectSlots + s]; };
  slot(0) = {'w', 10, 300};  // the data byte is what fits in a byte
  slot(1) = {'r', 200, 0};
  slot(2) = {'a', 10, 0};
  slot(3) = {'q', 10, 5};
  exchange_cards(sys);
  EXPECT_EQ(bank.card(2).reg[10], 255);
  EXPECT_EQ(slot(0).state, 'x');
  EXPECT_EQ(slot(1).state, 'x');
  EXPECT_EQ(slot(1).data, 77);
  EXPECT_EQ(slot(2).state, 'a');
  EXPECT_EQ(slot(2).data, 255);
  EXPECT_EQ(slot(3).data, 5);
  rig.apply({"reg", "2", "10", "4"});
  exchange_cards(sys);
  EXPECT_EQ(slot(2).data, 4);
  EXPECT_EQ(bank.card(0).reg[10], 0);  // the accesses went to card 2 only
  EXPECT_EQ(sys.cardlink.serial.error_counter, 0);
}

TEST_F(ExchangeTest, FailingTransfersFourTimesUnlinkWithTheBigProblemBox) {
  // Yes to every box, but the card stays silent: each transfer fails on its direct read.
  rig.apply({"silent", "2"});
  sys.cardlink.slots[2 * kDirectSlots] = {'a', 1, 0};
  for (int i = 0; i < 4; ++i) rig.host.answers.push_back(true);
  exchange_cards(sys);
  ASSERT_EQ(rig.host.boxes.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(rig.host.boxes[static_cast<size_t>(i)].text, kLostLink);
  EXPECT_EQ(rig.host.boxes[4].title, "ZIR - Erreur");
  EXPECT_EQ(rig.host.boxes[4].text, "Gros Problème avec la liaison série (carte 2)");
  EXPECT_FALSE(rig.host.boxes[4].question);
  EXPECT_EQ(sys.cardlink.links[2].linked, 0);
  EXPECT_EQ(sys.cardlink.serial.error_counter, 4 * 5);
}

TEST_F(ExchangeTest, NoOnTheLastAttemptShowsNoFurtherBox) {
  rig.apply({"silent", "2"});
  sys.cardlink.slots[2 * kDirectSlots] = {'a', 1, 0};
  for (bool yes : {true, true, true, false}) rig.host.answers.push_back(yes);
  exchange_cards(sys);
  ASSERT_EQ(rig.host.boxes.size(), 4u);
  EXPECT_TRUE(rig.host.boxes[3].question);
  EXPECT_EQ(sys.cardlink.links[2].linked, 0);
}

TEST_F(ExchangeTest, SwitchOffLeavesEverythingOff) {
  sys.io.out.fill(1);
  for (auto* t : {&sys.io.led, &sys.io.led_cli, &sys.io.led_phase}) t->fill(1);
  sys.cantons.Vit_reel.fill(-30);
  sys.io.out_man_flag[2 * kOutPerCard] = 1;
  sys.io.out_man[2 * kOutPerCard] = 1;
  sys.io.canton_man_flag[2 * kDetPerCard] = 1;
  sys.io.canton_man_speed[2 * kDetPerCard] = 40;
  sys.io.srv_pos[2 * kServoPerCard] = 800;
  exchange_cards(sys);
  switch_off_cards(sys);
  for (int card : {0, 2}) {
    const auto& f = bank.card(card).last_frame;
    for (int b = 2; b < 18; ++b) EXPECT_EQ(f[static_cast<size_t>(b)], 0) << card << " " << b;
    for (int b = 20; b < 34; ++b) EXPECT_EQ(f[static_cast<size_t>(b)], 0) << card << " " << b;
  }
  EXPECT_EQ(bank.card(2).last_frame[46], 200);  // servos keep their position
  EXPECT_EQ(bank.card(2).frames, 2);
}

TEST_F(ExchangeTest, NothingHappensWithoutALink) {
  CardRig none({});
  open_cards(none.sys);
  EXPECT_EQ(none.sys.cardlink.serial.active, 0);
  exchange_cards(none.sys);
  switch_off_cards(none.sys);
  EXPECT_TRUE(transfer(none.sys, 0));     // nothing to do
  EXPECT_EQ(none.host.boxes.size(), 1u);  // only the search's warning
}

}  // namespace
