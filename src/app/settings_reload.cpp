#include "app/settings_reload.h"

#include "common/error.h"

namespace quorvel {

void SettingsReload::Run(const std::function<void()>& load, const Report& report) {
    if (running_) return;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(running_);
    try {
        load();
        lastReported_.reset();
    } catch (const Error& e) {
        const bool echo = lastReported_ && lastReported_->message == e.Message() &&
                          clock_() - lastReported_->closedAt < kEchoMs;
        if (echo) return;
        report(e.Message());
        lastReported_ = Reported{e.Message(), clock_()};
    }
}

}  // namespace quorvel
