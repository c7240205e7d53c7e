#include "app/box_status.h"

#include "app/main_window.h"

namespace rovanel::app {

std::string BoxProblemText(const TFp& fp, const Box& box, device::Status status, bool opened) {
  const std::string code = std::to_string(status);
  if (box.UsbDenied()) {
    // The README's two commands that give the box to the logged-in user.
    const std::string install = "sudo cp " + fp.ShippedFolder() + kBoxRuleFile +
                                " /etc/udev/rules.d/ && sudo udevadm control --reload && "
                                "sudo udevadm trigger";
    return fp.Text("ID_MES_INF_boitier sans droits", {install, code});
  }
  if (box.Kind() == BoxKind::None) return fp.Text("ID_MES_INF_boitier non choisi", {code});
  if (!opened) return fp.Text("ID_MES_INF_boitier absent", {code});
  return fp.Text("ID_MES_INF_appareil muet", {code});
}

}  // namespace rovanel::app
