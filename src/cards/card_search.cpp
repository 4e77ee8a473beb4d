#include "cards/card_search.h"

#include <cstdio>
#include <string>

#include "cards/card_link.h"
#include "core/system.h"

namespace {

// Asks which cards answer on the active port and fills card_found; true when one did.
bool probe_cards(System& sys) {
  auto& found = sys.cardlink.serial.card_found;
  found.fill(0);
  uint8_t answer = 0;
  if (send_byte(sys, kSingleCardProbe) && wait_byte(sys, answer) && answer == kAnswerMark) {
    found[0] = 1;
    return true;
  }
  bool any = false;
  for (int card = 0; card < kCards; ++card) {
    const uint8_t probe = card_byte(card);
    if (!send_byte(sys, probe) || !wait_byte(sys, answer)) continue;
    found[card] = answer == kAnswerMark || answer == kAnswerMark + 16 * card;
    any = any || found[card];
  }
  return any;
}

// One port of the search; appends its outcome to the report and keeps the port when a card
// answered.
bool try_port(System& sys, int com, std::string& report) {
  report += "\n    COM" + std::to_string(com) + " : ";
  std::string reason;
  std::unique_ptr<SerialPort> port = sys.host.open_serial(com, reason);
  if (!port) {
    report += "Pas de port série";
    if (!reason.empty()) report += " (" + reason + ")";
    return false;
  }
  switch (port->configure(reason)) {
    case SerialPort::kSettingsUnreadable:
      report += "Impossible d'ouvrir le port série";
      return false;
    case SerialPort::kSettingsRefused:
      report += "Impossible d'ouvrir le port série (SetCommState)\n";
      return false;
    default:
      break;
  }
  SerialLink& link = sys.cardlink.serial;
  link.port = std::move(port);
  link.active = 1;
  sync_link(sys);
  const bool found = probe_cards(sys);
  link.active = 0;
  if (!found) {
    link.port.reset();
    report += "Pas trouvé de carte ZIR.";
    return false;
  }
  link.active = 1;
  link.com = com;
  return true;
}

void show_cards_found(System& sys) {
  const auto& found = sys.cardlink.serial.card_found;
  char text[256];
  std::snprintf(text, sizeof text,
                "Présence de la directive 'show_cards_found = on' dans 'config.txt'  \n\n"
                "Cartes ZIR trouvées  (trouvé=1, Absent=0)  :\n\n"
                "Carte n°0=%d   Carte n°1=%d   Carte n°2=%d   Carte n°4=%d",
                found[0], found[1], found[2], found[3]);
  sys.host.message_box("ZIR - Débug", text, BoxIcon::Error);
}

}  // namespace

int find_cards(System& sys) {
  std::string report = "Pas trouvé de carte à PIC à 20 Mhz en version V3   \nconnectée au PC :\n";
  for (int com = 1; com <= kComPorts; ++com) {
    if (!try_port(sys, com, report)) continue;
    if (sys.general.show_cards_found) show_cards_found(sys);
    return com;
  }
  report += "\n\n\nLe programme va fonctionner sans carte ZIR.\n\n";
  sys.host.message_box("ZIR - Avertissement", report, BoxIcon::Error);
  return 0;
}

void open_cards(System& sys) {
  find_cards(sys);
  for (int card = 0; card < kCards; ++card) {
    CardLink& link = sys.cardlink.links[card];
    link.card = card;
    link.linked = sys.cardlink.serial.card_found[card];
  }
}

void search_cards_again(System& sys) {
  close_port(sys);
  open_cards(sys);
}
