#pragma once

// Quorvel.exe started from a scratch folder of its own and watched from outside: the process,
// its windows, the files of its data folder and its registry values.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/win/unique_handle_win.h"
#include "program_watch_win.h"
#include "scratch_folder.h"

namespace quorvel {

inline constexpr std::string_view kDefaultSettings = "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n";

// A settings file without its last line, Destination's width, which a window shown with the
// designed widths fits to its size: the options and the other widths.
std::string UserSettings(std::string_view settings);

// The start counter and the autostart value the program writes.
void DeleteRegValues();

// A text's UTF-16 bytes, as the task file holds them.
inline std::string Utf16Bytes(std::wstring_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

// Memory in another process, for the messages that carry a pointer to their data.
class RemoteCopy {
  public:
    RemoteCopy(HANDLE process, const void* data, SIZE_T size)
        : process_(process),
          address_(
              ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (address_ && !::WriteProcessMemory(process, address_, data, size, nullptr)) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
            address_ = nullptr;
        }
    }
    ~RemoteCopy() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteCopy(const RemoteCopy&) = delete;
    RemoteCopy& operator=(const RemoteCopy&) = delete;

    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    void Write(const void* data, SIZE_T size) const {
        ::WriteProcessMemory(process_, address_, data, size, nullptr);
    }
    void Read(void* data, SIZE_T size) const {
        ::ReadProcessMemory(process_, address_, data, size, nullptr);
    }

  private:
    HANDLE process_;
    void* address_;
};

// One Quorvel process started from the scratch folder, or with another working folder; the
// constructor returns once the program waits for input (or has ended, as a second start does).
class Quorvel {
  public:
    explicit Quorvel(const std::filesystem::path& executable,
                     const std::filesystem::path& workingFolder = {});
    ~Quorvel();
    Quorvel(const Quorvel&) = delete;
    Quorvel& operator=(const Quorvel&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Process() const { return process_.get(); }
    HWND MainWindow() const;
    bool Running() const;
    // The exit code once it ended within the time, nothing otherwise.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kStartTimeoutMs) const;
    // Asks the main window to close and expects a clean end.
    void Close() const;

  private:
    void WaitForStartUp(const std::optional<std::wstring>& counterBefore) const;

    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// A scratch folder of each test's own with a copy of the built Quorvel.exe and a data folder of
// default files; the registry values the program writes are removed before and after.
class QuorvelProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Data() const { return folder_ / "data"; }
    std::filesystem::path Executable() const { return folder_ / "Quorvel.exe"; }
    void SetNotFirstStart() { SetRegValue(kVendorKey, L"fr", L"41"); }
    // The three data files, so that a test sees which the program writes again.
    void RemoveDataFiles() const;

    ScratchFolder scratch_;
    // With a space in its path, as a user's profile folder often has.
    const std::filesystem::path folder_ = scratch_.Path() / "Jo Smith";
};

}  // namespace quorvel
