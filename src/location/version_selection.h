// Choosing the bundle generation and the MySQL version from the lists.
#pragma once

void OnGenerationSelected();
void OnMySqlVersionSelected();
void OnMySqlListWillPopUp();
