#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quorvel {

// Runs the settings load that every activation of the main window performs, and decides
// whether its failure is reported. Reporting opens an error box; closing that box activates
// the main window again, which would load and report the same failure for ever. So a load
// does not run while a report is open, and the activation that follows a report does not
// report the same failure again.
class SettingsReload {
  public:
    using Report = std::function<void(const std::u16string& message)>;

    // Runs load; an Error it throws goes to report unless suppressed as described above.
    void Run(const std::function<void()>& load, const Report& report);

  private:
    bool running_ = false;
    std::optional<std::u16string> justReported_;
};

}  // namespace quorvel
