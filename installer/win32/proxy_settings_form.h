#pragma once
// TProxySettingsForm: the HTTP proxy's server, port, user name and password.
#include "base/win32/windows_clean.h"

#include "installer/model/web_update.h"

namespace ostravel::win32 {

// Shows the dialog modally over `owner` with the values in its fields (an absent
// value shows empty, the port 0). True when it closed with OK; `values` then holds
// all four fields. Cancel, Escape and closing the window leave `values` alone.
bool ShowProxySettingsForm(HWND owner, model::ProxySettings& values);

}  // namespace ostravel::win32
