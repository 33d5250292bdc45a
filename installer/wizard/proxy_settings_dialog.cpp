#include "installer/wizard/proxy_settings_dialog.h"

#include <cstdint>

#include "base/text.h"
#include "installer/ui/message_dialog.h"
#include "installer/wizard/control_names.h"

namespace ostravel::wizard {

namespace proxy = ctl::proxy_dialog;

void ProxySettingsDialog::FormCreate(FormView& view) {
  view_ = &view;
  view.SetText(proxy::kProxyServer, values_.server.value_or(""));
  view.SetText(proxy::kProxyPort, std::to_string(int32_t(values_.port.value_or(0))));
  view.SetText(proxy::kProxyUsername, values_.username.value_or(""));
  view.SetText(proxy::kProxyPassword, values_.password.value_or(""));
  view.SetFocus(proxy::kProxyServer);
}

void ProxySettingsDialog::OnEvent(const std::string& control, ControlEvent event) {
  if (event != ControlEvent::Click || !view_) return;
  if (control == proxy::kOKButton) {
    values_.server = view_->Text(proxy::kProxyServer);
    values_.port = uint32_t(ParseIntegerOr(Trim(view_->Text(proxy::kProxyPort)), 0));
    values_.username = view_->Text(proxy::kProxyUsername);
    values_.password = view_->Text(proxy::kProxyPassword);
    view_->EndModal(ui::mrOk);
  } else if (control == proxy::kCancelButton) {
    view_->EndModal(ui::mrCancel);
  }
}

bool RunProxySettingsDialog(model::ProxySettings& values, const std::function<int(FormLogic&)>& showModal) {
  model::ProxySettings fields = values;
  ProxySettingsDialog dialog(fields);
  if (showModal(dialog) != ui::mrOk) return false;
  values = fields;
  return true;
}

}  // namespace ostravel::wizard
