// What the train screens remember between calls: the dialog open below the list and its train.
#pragma once

#include <cstdint>
#include <string>

enum TrainDialog : int32_t {
  kNoDialog = 0,
  kReserveDialog = 1,
  kLocationDialog = 2,
  kCommandDialog = 3,
  kNameDialog = 4,
  kSidingDialog = 5,
  kProfileDialog = 6,
  kPlacingDialog = 7,  // screens 9/58
};

struct TrainScreenState {
  int32_t dialog = kNoDialog;
  int32_t train = -1;          // the entry the dialog works on
  bool command_step = false;   // the command dialog is step 3 of adding a train
  std::string typed;           // the name dialog's characters (Windows-1252)
  std::string message;         // a refusal drawn under the list ("Err: ...")
};
