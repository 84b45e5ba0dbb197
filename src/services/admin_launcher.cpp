#include "services/admin_launcher.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "location/bundle_layout.h"
#include "support/system.h"

using namespace controls;

namespace {

constexpr const char* kAdminAddressFrom8 = "http://localhost/phpMyAdmin4.8.5/";
constexpr const char* kAdminAddressBefore8 = "http://localhost/phpMyAdmin/";

bool BothServicesShownRunning() {
  return MainWindow().Checked(选择框Apache) == 1 && MainWindow().Checked(选择框MySQL) == 1;
}

}  // namespace

void OnOpenAdminClicked() {
  const Text& generation = State().LayoutGeneration;
  if (CompareText(generation, kGenerationFrom8) == 0 && BothServicesShownRunning()) OpenUrl(kAdminAddressFrom8);
  if (CompareText(generation, kGenerationBefore8) == 0 && BothServicesShownRunning()) OpenUrl(kAdminAddressBefore8);
}
