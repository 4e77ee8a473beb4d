#include "clock/exe_engine.h"

#include <algorithm>
#include <string>

#include "core/system.h"
#include "core/text.h"
#include "core/var_bus.h"

bool exe_command(const std::string& text, ExternalCommand& command) {
  if (std::count(text.begin(), text.end(), '"') < 2) return false;
  const size_t open = text.find('"');
  const size_t close = text.find('"', open + 1);
  command.file = text.substr(open + 1, close - open - 1);
  command.arguments.clear();
  // With two quotes only, what may follow the second one is not an argument.
  if (std::count(text.begin() + static_cast<std::ptrdiff_t>(close) + 1, text.end(), '"') > 0)
    command.arguments = text.substr(close + 1);
  return true;
}

namespace {

void run_action(System& sys, int n) {
  ExternalCommand command;
  command.action = n;
  command.folder = sys.dir;
  if (!exe_command(cp1252_to_utf8(sys.exe.text[static_cast<size_t>(n)]), command)) return;
  std::string reason;
  if (sys.host.run_external(command, reason)) return;
  // No box: a box inside a tick would hold the ticks back.
  log_error(sys, "\n-Erreur exe_" + std::to_string(n) + " : impossible de lancer '" + command.file +
                     "' (" + reason + ")");
}

}  // namespace

void exe_tick(System& sys) {
  for (int n = 0; n < kExternalActions; ++n) {
    int32_t& trigger = sys.exe.exe[static_cast<size_t>(n)];
    if (trigger != 1) continue;
    run_action(sys, n);
    trigger = 0;
  }
}
