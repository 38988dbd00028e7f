// The detail pane's controls of each player slot, 1 to 8 (slot 0 has none),
// for the dialog and for the tests that read the pane back.
#pragma once

#include "resource.h"

namespace morvane::ui {

struct SlotControlIds {
  int name;
  int civ;
  int team;
};

inline constexpr int kSlots = 8;

inline constexpr SlotControlIds kSlotControlIds[kSlots + 1] = {
    {0, 0, 0},
    {IDC_NAME1, IDC_CIV1, IDC_TEAM1},
    {IDC_NAME2, IDC_CIV2, IDC_TEAM2},
    {IDC_NAME3, IDC_CIV3, IDC_TEAM3},
    {IDC_NAME4, IDC_CIV4, IDC_TEAM4},
    {IDC_NAME5, IDC_CIV5, IDC_TEAM5},
    {IDC_NAME6, IDC_CIV6, IDC_TEAM6},
    {IDC_NAME7, IDC_CIV7, IDC_TEAM7},
    {IDC_NAME8, IDC_CIV8, IDC_TEAM8},
};

}  // namespace morvane::ui
