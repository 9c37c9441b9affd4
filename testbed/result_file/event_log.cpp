#include "testbed/result_file/event_log.h"

#include <array>
#include <stdexcept>

#include "testbed/result_file/event_text.h"

namespace tav::result {

EventLog::EventLog(CallNumbers callNumbers)
    : callNumbers_(callNumbers), spool_(std::tmpfile(), &std::fclose) {}

void EventLog::add(const Event& event) {
    std::optional<std::int32_t> call;
    if (callNumbers_ == CallNumbers::written) {
        if (const auto* hostEvent = std::get_if<result::HostEvent>(&event)) {
            call = hostEvent->call;
        }
    }
    // Each item carries its separator; writeArray drops the first comma.
    text_ = ",\n  ";
    appendEvent(text_, event, 2, call);
    append(text_);
    ++size_;
}

void EventLog::append(const std::string& text) {
    if (!spool_) {
        inMemory_ += text;
        return;
    }
    if (std::fwrite(text.data(), 1, text.size(), spool_.get()) != text.size()) {
        throw std::runtime_error("cannot keep the events on a temporary file");
    }
}

void EventLog::writeArray(std::ostream& out) const {
    if (size_ == 0) {
        out << "[]";
        return;
    }
    // Each item starts with its separator; the first one's comma goes.
    out << '[';
    bool first = true;
    auto copy = [&](const char* data, std::size_t length) {
        if (first && length > 0) {
            ++data;
            --length;
            first = false;
        }
        out.write(data, static_cast<std::streamsize>(length));
    };
    if (!spool_) {
        copy(inMemory_.data(), inMemory_.size());
    } else {
        std::FILE* file = spool_.get();
        std::fflush(file);
        std::rewind(file);
        std::array<char, 1 << 16> buffer;
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
            copy(buffer.data(), got);
        }
        const bool failed = std::ferror(file) != 0;
        std::fseek(file, 0, SEEK_END);
        if (failed) {
            throw std::runtime_error("cannot read the events back from their temporary file");
        }
    }
    out << "\n ]";
}

}  // namespace tav::result
