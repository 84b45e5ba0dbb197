// Opening the bundle's phpMyAdmin page while both services run.
#pragma once

void OnOpenAdminClicked();
