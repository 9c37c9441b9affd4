#include "app/recording_window.h"

#include <utility>

namespace tav::app {

const char* controlName(engine::StatusLabel label) {
    return label == engine::StatusLabel::vista ? "lblVista" : "lblPieza";
}

RecordingWindow::RecordingWindow(Sink onEvent) : onEvent_(std::move(onEvent)) {}

void RecordingWindow::record(const UiEvent& event) const {
    if (onEvent_) {
        onEvent_(event);
    }
}

void RecordingWindow::setCaption(engine::StatusLabel label, std::u16string_view text) {
    (label == engine::StatusLabel::vista ? lblVista_ : lblPieza_) = text;
    record(CaptionChanged{controlName(label), std::u16string(text)});
}

std::u16string RecordingWindow::caption(engine::StatusLabel label) const {
    return label == engine::StatusLabel::vista ? lblVista_ : lblPieza_;
}

void RecordingWindow::setProgressMin(float value) {
    progressMin_ = value;
    record(ProgressChanged{"min", value});
}

void RecordingWindow::setProgressMax(float value) {
    progressMax_ = value;
    record(ProgressChanged{"max", value});
}

void RecordingWindow::setProgressValue(float value) {
    progressValue_ = value;
    record(ProgressChanged{"value", value});
}

void RecordingWindow::setTopmost() {
    zOrderCalls_.push_back(ZOrderCall::setTopmost);
}

void RecordingWindow::clearTopmost() {
    zOrderCalls_.push_back(ZOrderCall::clearTopmost);
}

void RecordingWindow::repaint() {
    record(Repainted{});
}

void RecordingWindow::showMessage(std::u16string_view text) {
    record(MessageShown{std::u16string(applicationTitle), std::u16string(text)});
}

void RecordingWindow::showAbout(const AboutBoxText& about) {
    record(AboutShown{about.title, about.versionLine});
}

}  // namespace tav::app
