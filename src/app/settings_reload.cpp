#include "app/settings_reload.h"

#include <utility>

#include "common/error.h"

namespace quorvel {

void SettingsReload::Run(const std::function<void()>& load, const Report& report) {
    if (running_) return;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(running_);
    const std::optional<std::u16string> previous = std::exchange(justReported_, std::nullopt);
    try {
        load();
    } catch (const Error& e) {
        if (previous != e.Message()) {
            justReported_ = e.Message();
            report(e.Message());
        }
    }
}

}  // namespace quorvel
