#include <gtest/gtest.h>

#include <chrono>

#include "card_rig.h"
#include "cards/card_search.h"
#include "cards/serial_posix.h"
#include "tools/sim/sim_cards.h"
#include "tools/sim/sim_runner.h"

namespace {

const std::string kNoCardStart =
    "Pas trouvé de carte à PIC à 20 Mhz en version V3   \nconnectée au PC :\n";
const std::string kNoCardEnd = "\n\n\nLe programme va fonctionner sans carte ZIR.\n\n";

std::array<int32_t, kCards> linked(const System& sys) {
  std::array<int32_t, kCards> out{};
  for (int c = 0; c < kCards; ++c)
    out[static_cast<size_t>(c)] = sys.cardlink.links[static_cast<size_t>(c)].linked;
  return out;
}

TEST(Discovery, FindsTheCardsThatAnswer) {
  struct Case {
    std::vector<int> cards;
    int com;
    std::array<int32_t, kCards> linked;
  };
  const Case cases[] = {
      {{0}, 3, {1, 0, 0, 0}},     // answers 0x83 to 0x41: the others are not probed
      {{0, 2}, 1, {1, 0, 1, 0}},  // 0x83 and 0xA3 to 0x01 and 0x21
      {{1}, 6, {0, 1, 0, 0}},     // 0x93 to 0x11
      {{0, 1, 2, 3}, 2, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    CardRig rig(c.cards, c.com);
    open_cards(rig.sys);
    EXPECT_EQ(rig.sys.cardlink.serial.com, c.com);
    EXPECT_EQ(linked(rig.sys), c.linked);
    EXPECT_EQ(rig.sys.cardlink.serial.active, 1);
    EXPECT_TRUE(rig.host.boxes.empty());
  }
}

TEST(Discovery, NoPortAtAllListsTheSixPorts) {
  RecordingHost host;
  System sys{host};
  host.port_factory = [](int, std::string&) -> std::unique_ptr<SerialPort> { return nullptr; };
  open_cards(sys);
  EXPECT_EQ(sys.cardlink.serial.com, 0);
  EXPECT_EQ(sys.cardlink.serial.active, 0);
  EXPECT_EQ(linked(sys), (std::array<int32_t, kCards>{}));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].title, "ZIR - Avertissement");
  EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
  std::string expected = kNoCardStart;
  for (int n = 1; n <= 6; ++n) expected += "\n    COM" + std::to_string(n) + " : Pas de port série";
  EXPECT_EQ(host.boxes[0].text, expected + kNoCardEnd);
}

TEST(Discovery, ReportSaysWhyEachPortFailed) {
  RecordingHost host;
  System sys{host};
  auto bank = std::make_shared<CardBank>(std::vector<int>{});  // a port with nobody on it
  host.port_factory = [&](int com, std::string& reason) -> std::unique_ptr<SerialPort> {
    if (com == 1) return std::make_unique<EmulatedPort>(bank, [&](int ms) { host.sleep_ms(ms); });
    if (com == 2) return open_posix_serial_path("/dev/null", reason);  // no terminal
    reason = "/dev/ttyUSB9 : Permission denied";
    return nullptr;
  };
  EXPECT_EQ(find_cards(sys), 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  std::string expected = kNoCardStart + "\n    COM1 : Pas trouvé de carte ZIR." +
                         "\n    COM2 : Impossible d'ouvrir le port série";
  for (int n = 3; n <= 6; ++n) {
    expected +=
        "\n    COM" + std::to_string(n) + " : Pas de port série (/dev/ttyUSB9 : Permission denied)";
  }
  EXPECT_EQ(host.boxes[0].text, expected + kNoCardEnd);
}

TEST(Discovery, ShowCardsFoundBox) {
  CardRig rig({1, 3});
  rig.sys.general.show_cards_found = 1;
  open_cards(rig.sys);
  ASSERT_EQ(rig.host.boxes.size(), 1u);
  EXPECT_EQ(rig.host.boxes[0].title, "ZIR - Débug");
  EXPECT_EQ(rig.host.boxes[0].text,
            "Présence de la directive 'show_cards_found = on' dans 'config.txt'  \n\n"
            "Cartes ZIR trouvées  (trouvé=1, Absent=0)  :\n\n"
            "Carte n°0=0   Carte n°1=1   Carte n°2=0   Carte n°4=1");
}

TEST(Discovery, SearchAgainReleasesTheKeptPort) {
  CardRig rig({0, 2});
  // Opened exclusively: the port cannot be opened again while the search's port is kept.
  auto factory = rig.host.port_factory;
  rig.host.port_factory = [&](int com, std::string& reason) -> std::unique_ptr<SerialPort> {
    if (rig.sys.cardlink.serial.port) return nullptr;
    return factory(com, reason);
  };
  open_cards(rig.sys);
  rig.sys.cardlink.links[2].linked = 0;  // lost during the run
  search_cards_again(rig.sys);
  EXPECT_TRUE(rig.host.boxes.empty());
  EXPECT_EQ(rig.sys.cardlink.serial.com, 1);
  EXPECT_EQ(linked(rig.sys), (std::array<int32_t, kCards>{1, 0, 1, 0}));
}

TEST(Discovery, RealPortsRunOnTheMachineClock) {
  // The burst's pauses and the draining must last for real on a real line; emulated cards
  // keep the simulated clock so that their runs are the same everywhere.
  RecordingHost real;
  SimOptions options;
  options.real_ports = true;
  install_sim_ports(real, options);
  const auto machine = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  EXPECT_NEAR(static_cast<double>(real.now_ms()),
              static_cast<double>(static_cast<uint32_t>(machine.count())), 50.0);
  RecordingHost emulated;
  options = SimOptions{};
  options.cards = {0};
  install_sim_ports(emulated, options);
  emulated.sleep_ms(5);
  EXPECT_EQ(emulated.now_ms(), 5u);
}

TEST(Discovery, PortPathsFollowTheEnvironment) {
  EXPECT_EQ(com_device_path(3), "/dev/ttyUSB0");
  setenv("ZIR_COM3", "/tmp/zir-cards-link", 1);
  EXPECT_EQ(com_device_path(3), "/tmp/zir-cards-link");
  unsetenv("ZIR_COM3");
  EXPECT_EQ(com_device_path(1), "/dev/ttyS0");
  EXPECT_EQ(com_device_path(6), "/dev/ttyACM1");
  EXPECT_EQ(com_device_path(7), "");
  std::string reason;
  EXPECT_EQ(open_posix_serial_path("/nonexistent/tty", reason), nullptr);
  EXPECT_EQ(reason, "/nonexistent/tty : No such file or directory");
}

}  // namespace
