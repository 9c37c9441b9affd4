#include "app/recording_window.h"

#include <utility>

namespace tav::app {

const char* controlName(engine::StatusLine line) {
    return line == engine::StatusLine::view ? "lblVista" : "lblPieza";
}

RecordingWindow::RecordingWindow(Sink onEvent) : onEvent_(std::move(onEvent)) {}

void RecordingWindow::record(const UiEvent& event) const {
    if (onEvent_) {
        onEvent_(event);
    }
}

void RecordingWindow::setCaption(engine::StatusLine line, std::u16string_view text) {
    shown_.setCaption(line, text);
    record(CaptionChanged{controlName(line), std::u16string(text)});
}

std::u16string RecordingWindow::caption(engine::StatusLine line) const {
    return shown_.caption(line);
}

void RecordingWindow::setProgressMin(float value) {
    shown_.setProgressMin(value);
    record(ProgressChanged{"min", value});
}

void RecordingWindow::setProgressMax(float value) {
    shown_.setProgressMax(value);
    record(ProgressChanged{"max", value});
}

void RecordingWindow::setProgressValue(float value) {
    shown_.setProgressValue(value);
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
