// The drop-down list's notifications, in the orders Windows and Wine send
// them, make exactly one pick per completed choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/list_pick_tracker.h"

namespace {

// One letter per notification: D dropdown, S selchange, K selendok,
// X selendcancel, C closeup; T is the window's check once the notifications
// of one user action are in, and yields a result.
struct Case {
  const char* name;
  const char* notifications;
  int current;   // the list's selection at each check
  int selected;  // the model's selection
  std::vector<bool> picks;
};

const Case kCases[] = {
    {"Windows, item clicked in the open list", "DSSKCT", 3, 1, {true}},
    {"Wine, item clicked in the open list", "DKCST", 3, 1, {true}},
    {"Wine, the selected item clicked again", "DKCST", 1, 1, {true}},
    {"keyboard change, list closed (Windows)", "ST", 2, 1, {true}},
    {"keyboard change, list closed (Wine)", "KST", 2, 1, {true}},
    {"arrow key at the end of the closed list", "KST", 1, 1, {false}},
    {"arrow keys in the open list, Enter", "DSTSTKCT", 3, 1, {false, false, true}},
    {"opened and closed by Esc", "DXCT", 1, 1, {false}},
    {"opened and closed by a click on the list (Wine)", "DKCT", 1, 1, {false}},
    {"moved in the open list, then cancelled", "DSXCT", 2, 1, {true}},
    {"moved, cancelled, selection put back", "DSXCT", 1, 1, {false}},
    {"an accept without a change does not carry over", "DKCTKST", 1, 1, {false, false}},
    {"nothing selected", "ST", -1, 1, {false}},
};

std::vector<bool> PicksOf(const Case& c) {
  win32::ListPickTracker tracker;
  std::vector<bool> picks;
  for (const char* n = c.notifications; *n; ++n) {
    switch (*n) {
      case 'D': tracker.DroppedDown(); break;
      case 'S': tracker.SelectionChanged(); break;
      case 'K': tracker.SelectionEnded(true); break;
      case 'X': tracker.SelectionEnded(false); break;
      case 'C': tracker.ClosedUp(); break;
      case 'T': picks.push_back(tracker.TakePick(c.current, c.selected)); break;
      default: ADD_FAILURE() << "unknown notification " << *n;
    }
  }
  return picks;
}

TEST(ListPickTracker, OnePickPerCompletedChoiceInEitherOrder) {
  for (const Case& c : kCases) {
    EXPECT_EQ(PicksOf(c), c.picks) << c.name << " (" << c.notifications << ")";
  }
}

}  // namespace
