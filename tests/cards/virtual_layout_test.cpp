#include "tools/cards/emu/virtual_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

// A loop of cantons 0 -> 1 -> 2 -> 3 -> 0 (and back), turnout 0 leading from canton 3 into the
// dead-end siding 4 whose '-' end joins canton 3's '+' end. Turnout 0 shares its motor supply
// (output 4) with turnout 1, as on the demo; its position 1 contact is input 12 of card 0.
const char* kLoop = R"(#general
[
inv_canton_2 on
]
#aig
[
repos: out4=0 out5=0 out6=0 out7=0 out8=0
default_tic: 2,3,2,2,3,2
aig0: prep0: out5=1 go0: out4=1 lib0: out5=0
      prep1: out6=1 go1: out4=1 lib1: out6=0
      verif1: in_12 = 1
aig1: prep0: out7=1 go0: out4=1 lib0: out7=0
      prep1: out8=1 go1: out4=1 lib1: out8=0
]
#train
[
train00 : BB_67000 c0
]
#selectif
[
c1:+ c0+
c2:+ c1+
c3:+ c2+
c0:+ c3+ a0.0
c4:+ c3+ a0.1
c0:- c1-
c1:- c2-
c2:- c3-
c3:- c0- a0.0
c3:- c4-
]
)";

struct Frame {
  std::map<int, int> speed;  // canton index on card 0 -> signed speed byte
  std::vector<int> outputs;  // outputs of card 0 that are on
};

// A card-0 command frame as the program builds it: magnitude and direction bit (1 for a speed
// of 0 or more, inverted on the cantons of `inverted`).
std::array<uint8_t, kCommandBytes> frame_bytes(const Frame& f, const std::vector<int>& inverted) {
  std::array<uint8_t, kCommandBytes> b{};
  b[0] = 0x01;
  b[1] = 0x08;
  b[51] = 0x12;
  b[52] = 0x34;
  b[53] = 0x56;
  for (int i = 0; i < 16; ++i) {
    const int v = f.speed.count(i) ? f.speed.at(i) : 0;
    bool bit = v >= 0;
    for (int inv : inverted) bit = inv == i ? !bit : bit;
    b[static_cast<size_t>(2 + i)] = static_cast<uint8_t>(v < 0 ? -v : v);
    if (bit) b[static_cast<size_t>(18 + i / 8)] |= static_cast<uint8_t>(1u << (i % 8));
  }
  for (int o : f.outputs) b[static_cast<size_t>(20 + o / 8)] |= static_cast<uint8_t>(1u << (o % 8));
  return b;
}

class VirtualLayoutTest : public ::testing::Test {
 protected:
  void load(const std::string& config, const std::string& overrides = "") {
    dir.write("config.txt", config);
    if (!overrides.empty()) dir.write("virtual_layout.txt", overrides);
    std::string error;
    ASSERT_TRUE(read_layout_track(dir.path(), track, error)) << error;
    layout = std::make_unique<VirtualLayout>(
        track, [this](const std::string& line) { events.push_back(line); });
    events.clear();
  }

  // Sends the frame, then lets the trains run for `ms` in steps of one tick.
  void run(const std::map<int, int>& speeds, int ms, const std::vector<int>& outputs = {}) {
    const auto bytes = frame_bytes({speeds, outputs}, inverted);
    layout->command_frame(0, bytes.data());
    for (int t = 0; t < ms; t += 95) layout->advance(std::min(95, ms - t));
  }

  bool has_event(const std::string& line) const {
    return std::find(events.begin(), events.end(), line) != events.end();
  }
  int count_event(const std::string& line) const {
    return static_cast<int>(std::count(events.begin(), events.end(), line));
  }

  TempDir dir;
  LayoutTrack track;
  std::unique_ptr<VirtualLayout> layout;
  std::vector<std::string> events;
  std::vector<int> inverted{2};  // inv_canton_2 of kLoop
};

TEST_F(VirtualLayoutTest, ReadsTheTrackFromTheConfiguration) {
  load(kLoop, "canton 4 longueur 60\ntrain 0 longueur 30 depart 15\n");
  EXPECT_EQ(layout_cards(track), (std::vector<int>{0}));
  EXPECT_EQ(track.rules.size(), 10u);
  EXPECT_TRUE(track.wired_inverted[2]);
  EXPECT_EQ(track.length_cm[4], 60);
  const TurnoutMotor& t0 = track.turnouts[0];
  ASSERT_TRUE(t0.defined);
  EXPECT_EQ(t0.set_size[1], 2);
  EXPECT_EQ(t0.verif_input[1], 12);
  EXPECT_EQ(layout->head_canton(0), 0);
  EXPECT_EQ(layout->head_offset(0), 15);
  EXPECT_EQ(layout->tail_canton(0), 3);  // 15 cm of it stand on the canton it came from
  EXPECT_EQ(layout->head_canton(1), -1);
}

TEST_F(VirtualLayoutTest, CardsComeFromCantonsOutputsContactsAndPotentiometers) {
  load(
      "#aig\n[\naig0: go0: out304=1 go1: out305=1 verif0: in_245 = 0\n]\n"
      "#train\n[\ntrain00 : BB_67000 pot102 c0\n]\n#selectif\n[\nc1:+ c0+\n]\n");
  EXPECT_EQ(layout_cards(track), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(VirtualLayoutTest, DetectionFollowsTheTrainHeadToTail) {
  load(kLoop, "train 0 longueur 30 depart 90\n");
  CardBank bank({0});
  layout->connect(bank);
  // 64 -> 50 cm/s: 20 cm a 400 ms.
  run({{0, 64}, {1, 64}}, 400);
  layout->write_inputs(bank);
  EXPECT_EQ(layout->head_canton(0), 1);
  EXPECT_NEAR(layout->head_offset(0), 10, 0.01);
  EXPECT_EQ(layout->tail_canton(0), 0);
  EXPECT_EQ(bank.card(0).det[0], 1);
  EXPECT_EQ(bank.card(0).det[1], 1);
  EXPECT_EQ(events, (std::vector<std::string>{"train 0 entre dans le canton 1"}));
  run({{0, 64}, {1, 64}}, 400);
  layout->write_inputs(bank);
  EXPECT_EQ(layout->tail_canton(0), 1);
  EXPECT_EQ(bank.card(0).det[0], 0);
  EXPECT_EQ(bank.card(0).det[1], 1);
  // The head's canton drives: a train whose head is on an unpowered canton stays there.
  run({{0, 64}}, 1000);
  EXPECT_NEAR(layout->head_offset(0), 30, 0.01);
}

TEST_F(VirtualLayoutTest, CardFramesMoveTheTrainsByTheTimeBetweenThem) {
  load(kLoop, "train 0 longueur 30 depart 90\n");
  CardBank bank({0});
  double now = 1000;
  layout->connect(bank, [&now] { return now; });
  // The card answers each frame with the detections the layout has once the trains moved.
  auto answer_to = [&](const Frame& f) {
    const auto bytes = frame_bytes(f, inverted);
    bank.receive(bytes.data(), bytes.size());
    if (bank.outbox().empty()) return std::vector<uint8_t>(kAnswerBytes);
    std::vector<uint8_t> answer = bank.outbox().back().bytes;
    bank.outbox().clear();
    return answer;
  };
  EXPECT_EQ(answer_to({{{0, 64}, {1, 64}}, {}})[11], 0x01);
  now += 400;  // 20 cm at 50 cm/s: the head on canton 1, the tail still on canton 0
  EXPECT_EQ(answer_to({{{0, 64}, {1, 64}}, {}})[11], 0x03);
  now += 800;
  EXPECT_EQ(answer_to({{{0, 64}, {1, 64}}, {}})[11], 0x02);
  EXPECT_NEAR(layout->head_offset(0), 50, 0.01);
}

TEST_F(VirtualLayoutTest, TurnoutMovesOnlyWhenItsOwnOutputsHoldTogether) {
  load(kLoop);
  CardBank bank({0});
  layout->connect(bank);
  struct Step {
    std::vector<int> outputs;
    int position;
  };
  // The shared supply alone, or a selection without the supply, moves nothing; the supply with
  // the selection of the other turnout moves only that one.
  const Step steps[] = {{{4}, 0}, {{6}, 0}, {{4, 6}, 1}, {{}, 1}, {{4, 8}, 1}, {{4, 5}, 0}};
  for (const Step& s : steps) {
    const auto bytes = frame_bytes({{}, s.outputs}, inverted);
    bank.on_frame(0, bytes);
    EXPECT_EQ(layout->turnout_position(0), s.position) << ::testing::PrintToString(s.outputs);
    EXPECT_EQ(bank.card(0).in[12], s.position == 1 ? 1 : 0);
  }
  EXPECT_EQ(events,
            (std::vector<std::string>{"aiguillage 0 en position 1", "aiguillage 1 en position 1",
                                      "aiguillage 0 en position 0"}));
  EXPECT_EQ(layout->turnout_position(5), -1);
}

TEST_F(VirtualLayoutTest, SidingDeadEndAndBackOut) {
  load(kLoop, "train 0 longueur 20 depart 90\n");
  run({}, 0, {4, 6});  // turnout 0 thrown to the siding
  ASSERT_EQ(layout->place(0, 3, 90), "");
  run({{3, 64}, {4, 64}}, 2400);  // 120 cm: 10 to the end of canton 3, 100 on canton 4
  EXPECT_EQ(layout->head_canton(0), 4);
  EXPECT_NEAR(layout->head_offset(0), 100, 0.01);
  EXPECT_EQ(count_event("train 0 arrêté en bout du canton 4"), 1);
  // Power reversed: the train runs back out, its tail leading, into canton 3 backwards.
  run({{3, -64}, {4, -64}}, 2400);
  EXPECT_TRUE(has_event("train 0 entre dans le canton 3"));
  EXPECT_EQ(layout->head_canton(0), 3);
  EXPECT_NEAR(layout->head_offset(0), 100 - (120 - 80), 0.01);  // head now the old tail
  EXPECT_EQ(layout->tail_canton(0), 3);
}

TEST_F(VirtualLayoutTest, ReverseLoopKeepsTheTrainMovingWithTheCantonFlipped) {
  // Canton 2 is entered backwards: the program gives it the opposite polarity and the train goes
  // on, whether the flip is in the speed or in the wiring (inv_canton_). With the polarity of
  // canton 1 it is pushed back at the joint and stalls there.
  const std::string rules = "#selectif\n[\nc1:+ c0+\nc2:- c1+\nc1:- c2+\n]\n";
  struct Case {
    bool wired_inverted;
    int canton2_speed;
    bool goes_on;
  };
  const Case cases[] = {{false, -64, true}, {true, -64, true}, {false, 64, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.canton2_speed);
    const std::string general = c.wired_inverted ? "#general\n[\ninv_canton_2 on\n]\n" : "";
    load(general + "#train\n[\ntrain00 : BB_67000 c1\n]\n" + rules, "train 0 depart 95\n");
    inverted = c.wired_inverted ? std::vector<int>{2} : std::vector<int>{};
    run({{1, 64}, {2, c.canton2_speed}}, 1000);
    if (c.goes_on) {
      EXPECT_EQ(layout->head_canton(0), 2);
      EXPECT_EQ(layout->tail_canton(0), 2);
      EXPECT_NEAR(layout->head_offset(0), 100 - 45, 0.01);
    } else {
      EXPECT_TRUE(layout->head_canton(0) == 1 || layout->tail_canton(0) == 1);
    }
  }
}

TEST_F(VirtualLayoutTest, TrainsNeverPassThroughEachOther) {
  load(kLoop, "train 0 longueur 20 depart 50\ntrain 1 longueur 30\n");
  ASSERT_EQ(layout->place(1, 0, 100), "");
  // Both run on canton 0; train 1's head stops on the unpowered canton 1, train 0 at its tail.
  run({{0, 64}}, 2000);
  EXPECT_EQ(layout->head_canton(1), 1);
  EXPECT_EQ(layout->tail_canton(1), 0);
  EXPECT_EQ(layout->head_canton(0), 0);
  EXPECT_NEAR(layout->head_offset(0), 100 - (30 - layout->head_offset(1)), 0.01);
  const std::string collision = "collision : train 0 arrêté contre le train 1 dans le canton 0";
  EXPECT_EQ(count_event(collision), 1);
  run({{0, 64}}, 2000);
  EXPECT_EQ(count_event(collision), 1);
  EXPECT_EQ(layout->place(2, 1, 20), "le train 1 occupe déjà le canton 1");
}

TEST_F(VirtualLayoutTest, OperatorCommands) {
  load(kLoop);
  struct Case {
    std::vector<std::string> words;
    std::string error;
    std::string event;
  };
  const Case cases[] = {
      {{"remove", "0"}, "", "train 0 retiré"},
      {{"remove", "0"}, "le train 0 n'est pas sur le réseau", ""},
      {{"place", "0", "2"}, "", "train 0 posé dans le canton 2"},
      {{"place", "3", "4", "80"}, "", "train 3 posé dans le canton 4"},
      {{"place", "4", "4", "120"}, "le canton 4 ne mesure que 100 cm", ""},
      {{"place", "4", "16"}, "attendu : place TRAIN CANTON [POSITION_CM]", ""},
      {{"place", "32", "1"}, "attendu : place TRAIN CANTON [POSITION_CM]", ""},
      {{"remove", "x"}, "attendu : remove TRAIN (0 à 31)", ""},
      {{"status"}, "", "train 0 : canton 2 à 60 cm, queue dans le canton 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.words));
    events.clear();
    std::string error;
    EXPECT_TRUE(layout->command(c.words, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(events.empty() ? "" : events.front(), c.event);
  }
  EXPECT_TRUE(has_event("aiguillage 1 : position 0"));
  std::string error;
  EXPECT_FALSE(layout->command({"det", "0", "1", "1"}, error));
}

TEST(VirtualLayoutFile, ErrorsNameTheFileAndLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"@ lengths\n\ncanton 3 longueur 150\nvoie 2\n", "v.txt, ligne 4 : mot inconnu 'voie'"},
      {"canton 16 longueur 50\n", "v.txt, ligne 1 : numéro de canton attendu au lieu de '16'"},
      {"canton 3 longueur 5\n",
       "v.txt, ligne 1 : nombre de 10 à 100000 attendu après 'longueur' au lieu de '5'"},
      {"canton 3 longueur\n", "v.txt, ligne 1 : nombre manquant après 'longueur'"},
      {"canton 3 150\n", "v.txt, ligne 1 : 'longueur' attendu après le canton"},
      {"canton 3 longueur 150 cm\n", "v.txt, ligne 1 : mot en trop : 'cm'"},
      {"train 32 longueur 20\n",
       "v.txt, ligne 1 : nombre de 0 à 31 attendu après 'train' au lieu de '32'"},
      {"train 1\n", "v.txt, ligne 1 : 'longueur' ou 'depart' attendu après le train"},
      {"train 1 longueur 20 couleur 3\n", "v.txt, ligne 1 : mot inconnu 'couleur'"},
      {"train 1 longueur -20\n",
       "v.txt, ligne 1 : nombre de 1 à 1000 attendu après 'longueur' au lieu de '-20'"},
      {"echelle 64\n", "v.txt, ligne 1 : nombre manquant après '64'"},
      {"echelle 0 50\n",
       "v.txt, ligne 1 : nombre de 1 à 255 attendu après 'echelle' au lieu de '0'"},
      {"detection 5\n", "v.txt, ligne 1 : 'inversee' attendu après le canton"},
      {"train 0 depart 80\ncanton 0 longueur 60\n",
       "v.txt, ligne 1 : le départ du train 0 dépasse la longueur du canton 0 (60 cm)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LayoutTrack track;
    track.start_slot[0] = 0;
    std::string error;
    EXPECT_FALSE(read_layout_overrides(c.text, "v.txt", track, error));
    EXPECT_EQ(error, c.error);
  }
  LayoutTrack track;
  std::string error;
  ASSERT_TRUE(read_layout_overrides(
      "ÉCHELLE 32 40 @ slower\r\ndétection 105 inversée\ntrain 2 d\xE9part 10\n", "v.txt", track,
      error))
      << error;
  EXPECT_EQ(track.scale_byte, 32);
  EXPECT_EQ(track.scale_cm_s, 40);
  EXPECT_TRUE(track.det_inverted[21]);
  EXPECT_TRUE(track.cards_used[1]);
  EXPECT_EQ(track.start_offset_cm[2], 10);
}

TEST(VirtualLayoutFile, ConfigurationErrorsAreReportedNotShown) {
  TempDir dir;
  LayoutTrack track;
  std::string error;
  EXPECT_FALSE(read_layout_track(dir.path(), track, error));
  EXPECT_NE(error.find("config.txt"), std::string::npos) << error;
  dir.write("config.txt", "#train\n[\ntrain00 : SHORT c0\n]\n");
  EXPECT_FALSE(read_layout_track(dir.path(), track, error));
  EXPECT_EQ(error, (dir.path() / "config.txt").string() +
                       " : Fichier 'config.txt',  Section #train,  Erreur de description sur la "
                       "ligne :  train00  :  SHORT  c0");
}

}  // namespace
