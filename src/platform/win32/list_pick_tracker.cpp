#include "platform/win32/list_pick_tracker.h"

namespace win32 {

void ListPickTracker::DroppedDown() {
  dropped_ = true;
  changed_ = false;
  accepted_ = false;
}

void ListPickTracker::SelectionChanged() { changed_ = true; }

void ListPickTracker::SelectionEnded(bool accepted) {
  // An "ended" on a closed list (Wine sends one before a keyboard change)
  // accepts nothing: only a choice in the open list does.
  accepted_ = accepted && dropped_;
}

void ListPickTracker::ClosedUp() { dropped_ = false; }

bool ListPickTracker::TakePick(int current, int selected) {
  if (dropped_) return false;
  const bool picked = changed_ && current >= 0 && (current != selected || accepted_);
  changed_ = false;
  accepted_ = false;
  return picked;
}

}  // namespace win32
