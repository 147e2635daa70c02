#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quorvel {

// Runs the settings load that every activation of the main window performs, and decides
// whether its failure is reported. Reporting opens an error box; closing that box activates
// the main window again, which would load and report the same failure for ever. So a load
// does not run while a report is open, and the same failure coming back right after its box
// was closed (from the activation the closing caused) is not reported again.
class SettingsReload {
  public:
    using Report = std::function<void(const std::u16string& message)>;
    using Clock = std::function<std::uint64_t()>;  // milliseconds

    // How long after a box closed an activation counts as caused by the closing.
    static constexpr std::uint64_t kEchoMs = 1500;

    explicit SettingsReload(Clock clock) : clock_(std::move(clock)) {}

    // Runs load; an Error it throws goes to report unless suppressed as described above.
    void Run(const std::function<void()>& load, const Report& report);

  private:
    struct Reported {
        std::u16string message;
        std::uint64_t closedAt;
    };

    Clock clock_;
    bool running_ = false;
    std::optional<Reported> lastReported_;
};

}  // namespace quorvel
