#pragma once
// The progress page as the installation run and the package download drive it.
#include <string>

namespace ostravel::ui {

class ProgressSurface {
 public:
  virtual ~ProgressSurface() = default;
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual int Maximum() = 0;
  virtual void SetPosition(int position) = 0;
  virtual int Position() = 0;
  // Added to the per-package percentages of the archive progress.
  virtual void SetBaseOffset(int offset) = 0;
  virtual int BaseOffset() = 0;
  virtual void SetBarVisible(bool visible) = 0;
  virtual void SetSmooth(bool smooth) = 0;
  virtual void SetStatus(const std::string& text) = 0;     // the status line
  virtual void SetFileLabel(const std::string& text) = 0;  // the file being written
  virtual void SetStep(const std::string& name) = 0;       // the grey step label
  virtual void ProcessMessages() = 0;
  // The page's further labels and the cursor. A surface without them ignores them.
  virtual void SetPercentLabel(const std::string&) {}  // hidden, beside the bar
  virtual void SetInfo(const std::string&) {}          // the page's information label
  virtual void SetBusyCursor(bool) {}                  // the hourglass during a step
};

}  // namespace ostravel::ui
