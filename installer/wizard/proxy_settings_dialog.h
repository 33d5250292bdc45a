#pragma once
// TProxySettingsForm's logic: the proxy's server, port, user name and password in
// four fields, filled from the values it is given and read back on OK.
#include <functional>

#include "installer/model/web_update.h"
#include "installer/wizard/control_view.h"

namespace ostravel::wizard {

class ProxySettingsDialog : public FormLogic {
 public:
  // An absent value shows empty, the port 0. OK writes all four fields into
  // `values` and ends with mrOk; Cancel leaves them alone and ends with mrCancel.
  explicit ProxySettingsDialog(model::ProxySettings& values) : values_(values) {}

  void FormCreate(FormView& view) override;
  void OnEvent(const std::string& control, ControlEvent event) override;
  ItemDrawing DrawItem(const std::string&, int) override { return {}; }

 private:
  model::ProxySettings& values_;
  FormView* view_ = nullptr;
};

// Runs the dialog on a copy of `values` through `showModal`, which shows it modally
// and gives its modal result; true on OK, and `values` then holds the four fields.
bool RunProxySettingsDialog(model::ProxySettings& values, const std::function<int(FormLogic&)>& showModal);

}  // namespace ostravel::wizard
