// The once-a-second status monitor and the two service check boxes.
#pragma once

void OnStatusTimer();
void OnApacheToggled();
void OnMySqlToggled();
