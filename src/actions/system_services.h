#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// What the system does for the actions, one small interface per kind of operation. Each call is
// a whole operation; the decisions around them (which failure shows which message, which
// process goes, which way minimise-all turns next) are the caller's.

// The ExitWindowsEx flags the power and log-off actions ask for.
inline constexpr std::uint32_t kEwxLogOff = 0;
inline constexpr std::uint32_t kEwxReboot = 2;
inline constexpr std::uint32_t kEwxForce = 4;
inline constexpr std::uint32_t kEwxPowerOff = 8;

// How far enabling the shutdown privilege in this process's token got.
enum class ShutdownPrivilege {
    kEnabled,
    kNoToken,          // the token could not be opened
    kUnknown,          // the privilege's id could not be looked up
    kNotAdjusted,      // the token refused the change
    kNotHeldByAccount  // the change went through, but the account does not hold the privilege
};

class PowerControl {
  public:
    virtual ~PowerControl() = default;
    virtual ShutdownPrivilege EnableShutdownPrivilege() = 0;
    // Starts the shutdown, restart or log-off the flags ask for, and returns at once; whether
    // the system took it is not told.
    virtual void EndSession(std::uint32_t flags) = 0;
    // Hibernation or suspend, forced or not; whether the system took it is not told.
    virtual void Suspend(bool hibernate, bool force) = 0;
};

struct RunningProcess {
    std::uint32_t id = 0;
    std::u16string exeFile;
    friend bool operator==(const RunningProcess&, const RunningProcess&) = default;
};

class ProcessList {
  public:
    virtual ~ProcessList() = default;
    // The running processes in the system's order; none when the system gives no list.
    virtual std::vector<RunningProcess> Running() = 0;
    // Ends a process with exit code 0; one that cannot be opened or ended is left alone.
    virtual void End(std::uint32_t processId) = 0;
};

enum class Door { kOpen, kClosed };

class CdDoors {
  public:
    virtual ~CdDoors() = default;
    // Opens or closes the door of the CD drive that the media control interface opens by
    // `element` ("E:"); a device that cannot be opened is left alone.
    virtual void SetDoor(std::u16string_view element, Door door) = 0;
};

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Takes the clipboard for the program's window, empties it and gives it back; false, and
    // nothing done, while another program holds it.
    virtual bool Empty() = 0;
};

// Starts programs and opens documents and addresses, and tells why one could not be.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // ShellExecute; an empty operation or parameters stand for absent ones. Above 32 on
    // success, else the failure (0 or one of the SE_ERR_ codes).
    // An empty directory is none: the program's own working folder.
    virtual std::uintptr_t Execute(std::u16string_view operation, std::u16string_view file,
                                   std::u16string_view parameters, std::u16string_view directory,
                                   int showCommand) = 0;
    // ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when nothing is at a full path; 0 when
    // something is, or the system cannot tell.
    virtual std::uint32_t MissingFileError(std::u16string_view path) = 0;
    // Starts a command line in a directory (empty: none given); a program named without a
    // folder ("calc.exe") is the system folder's, wherever else one of that name lies. Whether
    // it started is not told.
    virtual void Start(std::u16string_view commandLine, int showCommand,
                       std::u16string_view directory) = 0;
    // ExpandEnvironmentStringsW over the program's environment: %NAME% replaced by its value,
    // an unknown name left as written.
    virtual std::u16string ExpandEnvironmentStringsW(std::u16string_view text) = 0;
    // The system's description of an error code without its closing line break; empty when
    // the system has none.
    virtual std::u16string ErrorText(std::uint32_t errorCode) = 0;
};

// The shell's folder windows and the desktop's windows as a whole.
class Desktop {
  public:
    virtual ~Desktop() = default;
    // Opens a shell folder (CSIDL_) in a window; a folder the system lacks is left alone.
    virtual void OpenFolder(int folder, int showCommand) = 0;
    // The shell object's MinimizeAll and UndoMinimizeALL; both throw Error when the object
    // cannot be reached or refuses.
    virtual void MinimizeAll() = 0;
    virtual void UndoMinimizeAll() = 0;
};

// The boxes a press shows, in front of the window the user is in: a press gives the program
// that right.
class PressBoxes {
  public:
    virtual ~PressBoxes() = default;
    // The program's standard error box, owned by the window that owns launches.
    virtual void ShowErrorBox(std::u16string_view text) = 0;
    // A modal message with no owner window and only an OK button.
    virtual void ShowMessage(std::u16string_view text, std::u16string_view caption) = 0;
};

// All of them, as the dispatcher uses them.
struct SystemServices {
    PowerControl& power;
    ProcessList& processes;
    CdDoors& cdDoors;
    Clipboard& clipboard;
    Launcher& launcher;
    Desktop& desktop;
    PressBoxes& boxes;
};

}  // namespace quorvel
