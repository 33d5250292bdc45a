#include "installer/wizard/event_table.h"

#include "installer/wizard/control_names.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

struct EventBinding {
  const char* control;
  ControlEvent event;
  EventHandlerFn handler;
};

struct DrawBinding {
  const char* control;
  DrawItemFn draw;
};

using E = ControlEvent;
using W = WizardController;

const EventBinding kEvents[] = {
    {ctl::kBackButton, E::Click, [](W& w) { w.BackButtonClick(); }},
    {ctl::kNextButton, E::Click, [](W& w) { w.NextButtonClick(); }},
    {ctl::kCancelButton, E::Click, [](W& w) { w.CancelButtonClick(); }},
    {ctl::kInformationButton, E::Click, [](W& w) { w.InformationButtonClick(); }},
    {ctl::kWebBrowserButton, E::Click, [](W& w) { w.WebBrowserButtonClick(); }},
    {ctl::kCxProgramYear, E::Select, [](W& w) { w.cxProgramYearSelect(); }},
    {ctl::kCxInstallKind, E::Enter, cxInstallKindEnter},
    {ctl::kCxInstallKind, E::Select, cxInstallKindSelect},
    {ctl::kProxySettingsButton, E::Click, ProxySettingsButtonClick},
    {ctl::kClbComponents, E::Check, clbComponentsClickCheck},
    {ctl::kClbComponents, E::Click, clbComponentsClick},
    {ctl::kLvDestinations, E::Select, lvDestinationsSelectItem},
    {ctl::kEDestination, E::Change, eDestinationChange},
    {ctl::kChangeButton, E::Click, ChangeButtonClick},
    {ctl::kIconsList, E::Click, IconsListClick},
    {ctl::kCbDoNotCreateIcons, E::Click, cbDoNotCreateIconsClick},
};

// Kinds carry "caption;description": the combo shows the caption only.
ItemDrawing CaptionPart(W& w, int index) {
  const auto items = w.View().Items(ctl::kCxInstallKind);
  if (index < 0 || size_t(index) >= items.size()) return {};
  const std::string& item = items[size_t(index)];
  return {item.substr(0, item.find(';')), 1, 1};
}

const DrawBinding kDrawings[] = {
    {ctl::kCxInstallKind, CaptionPart},
};

}  // namespace

EventHandlerFn EventHandlerOf(const std::string& control, ControlEvent event) {
  for (const EventBinding& b : kEvents)
    if (b.event == event && control == b.control) return b.handler;
  return nullptr;
}

DrawItemFn DrawItemOf(const std::string& control) {
  for (const DrawBinding& b : kDrawings)
    if (control == b.control) return b.draw;
  return nullptr;
}

}  // namespace ostravel::wizard
