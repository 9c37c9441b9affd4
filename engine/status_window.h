// What the engine needs of the main window: the two status lines, the
// progress bar, an immediate repaint and a modal message box.
#pragma once

#include <string>
#include <string_view>

namespace tav::engine {

// The window's two status lines, one label each.
enum class StatusLine {
    view,  // upper line: the run's phase and the view it works on
    part,  // lower line: the step within a view and the part, with progress dots
};

class StatusWindow {
  public:
    virtual ~StatusWindow() = default;

    virtual void setCaption(StatusLine line, std::u16string_view text) = 0;
    virtual std::u16string caption(StatusLine line) const = 0;

    // The progress bar works in single precision, like the control it stands for.
    virtual void setProgressMin(float value) = 0;
    virtual void setProgressMax(float value) = 0;
    virtual void setProgressValue(float value) = 0;
    virtual float progressValue() const = 0;
    virtual float progressMax() const = 0;

    // Redraws the window now; the run never yields to the message loop.
    virtual void repaint() = 0;

    // A modal message box: the text, an OK button, no icon, the application
    // title. Returns when the user has pressed OK.
    virtual void showMessage(std::u16string_view text) = 0;
};

}  // namespace tav::engine
