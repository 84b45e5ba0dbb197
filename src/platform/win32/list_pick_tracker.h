// Turns the notifications of a drop-down list into "the user picked an item".
//
// A pick is complete when the list is closed again: either a keyboard change
// while the list is closed, or the choice that closes an open list. Items
// passed while moving through an open list are not picks. The notifications
// come in a different order per platform:
//   Windows, mouse or Enter in the open list:  SELCHANGE (per item passed),
//                                              SELENDOK, CLOSEUP
//   Wine, click on an item of the open list:   SELENDOK, CLOSEUP, SELCHANGE
//   Wine, arrow keys in the open list, Enter:  SELCHANGE per item, SELENDOK,
//                                              CLOSEUP
//   Wine, arrow key on the closed list:        SELENDOK, SELCHANGE
// so the tracker only collects them; the window asks TakePick once all
// notifications of one user action have arrived (a message it posts to
// itself while they come in).
#pragma once

namespace win32 {

class ListPickTracker {
 public:
  void DroppedDown();                 // CBN_DROPDOWN
  void SelectionChanged();            // CBN_SELCHANGE
  void SelectionEnded(bool accepted); // CBN_SELENDOK (true) / CBN_SELENDCANCEL
  void ClosedUp();                    // CBN_CLOSEUP

  // Whether the notifications since the last call make up a completed pick
  // of `current` (the list's selection now), given the model's `selected`.
  // A pick that leaves the selection as it was counts only when it was
  // accepted in an open list (a click or Enter on the selected item).
  // Nothing is taken while the list is still open.
  bool TakePick(int current, int selected);

 private:
  bool dropped_ = false;
  bool changed_ = false;
  bool accepted_ = false;
};

}  // namespace win32
